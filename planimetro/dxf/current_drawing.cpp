#include "planimetro/dxf/current_drawing.h"

#include <mutex>

namespace planimetro::dxf {
namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::string& Path() {
  static std::string path;
  return path;
}

}  // namespace

void SetCurrentDrawing(const std::string& path) {
  std::lock_guard<std::mutex> lock(Guard());
  Path() = path;
}

std::string CurrentDrawing() {
  std::lock_guard<std::mutex> lock(Guard());
  return Path();
}

}  // namespace planimetro::dxf
