// The checks of IFC alignment files against the rule fixtures: every file made to break a rule
// is caught for that rule, and no file made to pass a rule is flagged for it.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "formats/ifc/ifc_check.h"
#include "formats/ifc/step.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> Fixtures() {
  std::vector<std::string> names;
  const std::string dir = std::string(PASARELA_TEST_DATA) + "/ifc/rules";
  if (DIR* d = opendir(dir.c_str())) {
    while (const dirent* entry = readdir(d)) {
      const std::string name = entry->d_name;
      if (name.size() > 4 && name.substr(name.size() - 4) == ".ifc") names.push_back(name);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(IfcRules, EveryFixtureIsJudgedByItsRule) {
  const std::vector<std::string> names = Fixtures();
  ASSERT_GE(names.size(), 70u);
  const std::vector<std::string>& rules = ifc::CheckedRules();
  std::size_t judged = 0;
  for (const std::string& name : names) {
    // pass-alb012-..., fail-als016-...
    const std::size_t dash = name.find('-');
    const std::string verdict = name.substr(0, dash);
    std::string rule = name.substr(dash + 1, 6);
    std::transform(rule.begin(), rule.end(), rule.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    if (std::find(rules.begin(), rules.end(), rule) == rules.end()) continue;
    ifc::StepFile file;
    const ifc::StepReadResult read = ifc::ParseStep(testing_support::ReadFile(std::string(PASARELA_TEST_DATA) + "/ifc/rules/" + name), file);
    ASSERT_TRUE(read.ok) << name << ": " << read.error;
    std::string found;
    bool flagged = false;
    for (const ifc::RuleFinding& f : ifc::CheckAlignmentRules(file)) {
      if (f.rule == rule) {
        flagged = true;
        if (found.empty()) found = f.message;
      }
    }
    if (verdict == "fail") {
      EXPECT_TRUE(flagged) << name << " is not caught for " << rule;
    } else if (verdict == "pass") {
      EXPECT_FALSE(flagged) << name << " is flagged for " << rule << ": " << found;
    }
    ++judged;
  }
  EXPECT_GE(judged, 70u);
}
