#include <gtest/gtest.h>

#include "calzada/frame/lector_lineas.h"
#include "calzada/frame/shared_routines.h"
#include "support/test_support.h"

TEST(CalzadaFrame, Placeholder) { EXPECT_EQ(calzada::SignoTolerante(0.0009), 0); }
