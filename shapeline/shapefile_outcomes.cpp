#include "shapeline/shapefile_outcomes.h"

#include <sys/stat.h>

#include "common/conversion.h"
#include "common/file_stream.h"
#include "formats/shapefile/shapefile_points.h"

namespace shapeline {
namespace {

constexpr common::ConversionRule kShapefile{"un shapefile", "ningún punto", common::FileKind::kShapefile};
constexpr common::ConversionRule kPointFile{"un fichero de puntos", "ningún punto"};

// False, with the reason recorded, when `path` opens and its first bytes show a file of
// another kind than the rule's. A file that cannot be opened is left to the conversion, which
// says so in this library's own words.
bool OfTheRightKind(const std::string& path, const common::ConversionRule& rule) {
  std::string head(4096, '\0');
  std::size_t got = 0;
  {
    const common::OptionalReadScope quiet;
    common::FileChunkReader file;
    if (!file.Open(path)) return true;
    while (got < head.size()) {
      const std::size_t more = file.Read(head.data() + got, head.size() - got);
      if (more == 0) break;
      got += more;
    }
    if (file.failed()) return true;
  }
  head.resize(got);
  const common::FileKind found = common::SniffFileKind(head);
  if (common::KindFitsRule(found, rule)) return true;
  common::RecordWrongKind(path, rule.source, found);
  return false;
}

// The size of the file at `path`, or -1.
long long FileSize(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

// The header of a shapefile without shapes.
constexpr long long kEmptyShapefileSize = 100;

}  // namespace

int ConvertShapefileToPoints(const std::string& shapefile, const std::string& pointFile) {
  if (!common::CheckConversionTarget(shapefile, pointFile)) return 0;
  if (!OfTheRightKind(shapefile, kShapefile)) return 0;
  if (ImportShapefilePoints(shapefile, pointFile) == 0) return 0;
  // Every point line has characters: an empty point file holds no point.
  return common::RequireSomething(FileSize(pointFile) == 0, shapefile, kShapefile) ? 1 : 0;
}

int ConvertPointsToShapefile(const std::string& pointFile, const std::string& shapefile) {
  if (!common::CheckConversionTarget(pointFile, shapefile)) return 0;
  if (!OfTheRightKind(pointFile, kPointFile)) return 0;
  if (ExportPointsToShapefile(pointFile, shapefile) == 0) return 0;
  return common::RequireSomething(FileSize(shapefile) <= kEmptyShapefileSize, pointFile, kPointFile) ? 1 : 0;
}

}  // namespace shapeline
