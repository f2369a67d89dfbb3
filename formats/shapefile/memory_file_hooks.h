// File access for shapelib that holds each file whole in memory: a file opened for reading is
// loaded in one read, a file written is kept in memory and written out in one go when shapelib
// closes it. shapelib seeks before every record it reads or writes; in memory those seeks cost
// nothing, on a stream each one would flush or refill the buffer.
#pragma once

#include <shapefil.h>

namespace shapeline {

// Hooks for SHPOpenLL, SHPCreateLL, DBFOpenLL and DBFCreateLL.
SAHooks MemoryFileHooks();

// Counts, on the calling thread, the files whose contents could not be written out when
// shapelib closed them (shapelib's close reports nothing).
class WriteFailureCounter {
 public:
  WriteFailureCounter();
  bool AnyFailed() const;

 private:
  unsigned start_;
};

}  // namespace shapeline
