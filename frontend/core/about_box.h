// What the About box shows: its caption, the program's version and the maker's contact lines.
#pragma once

#include <string>

namespace frontend {

struct AboutText {
  std::string caption;
  std::string version;  // major.minor.revision of the program
  std::string company;
  std::string web;      // web address with the e-mail address
  std::string telephone;
  std::string fax;
};

const AboutText& AboutBoxText();

}  // namespace frontend
