#include "calzada/jet_writer.h"

#include <cstring>
#include <stdexcept>

namespace jet_test {
namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kDataHeader = 14;  // type, 1, free space, table page, 4 spare, row count
constexpr std::size_t kMaxRowsPerPage = 255;
constexpr uint8_t kTypeLong = 0x04;
constexpr uint8_t kTypeDouble = 0x07;
constexpr uint8_t kTypeText = 0x0a;
constexpr uint8_t kTypeInt = 0x03;
constexpr uint8_t kTypeOle = 0x0b;

void Put16(std::string& b, std::size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}
void Put32(std::string& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}
void Append16(std::string& b, uint32_t v) {
  b.push_back(static_cast<char>(v & 0xff));
  b.push_back(static_cast<char>((v >> 8) & 0xff));
}

// Text is stored as UTF-16 little endian (characters of the basic plane).
std::string Ucs2(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    uint32_t code = c;
    std::size_t extra = 0;
    if (c >= 0xe0) {
      code = c & 0x0f;
      extra = 2;
    } else if (c >= 0xc0) {
      code = c & 0x1f;
      extra = 1;
    }
    for (std::size_t k = 1; k <= extra && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
    }
    i += 1 + extra;
    Append16(out, code & 0xffff);
  }
  return out;
}

// The columns as the engine lays them out: fixed ones at offsets in the row, variable ones by
// their index in the row's offset table.
struct Layout {
  uint8_t type;
  bool fixed;
  uint16_t size;
  uint16_t fixedOffset = 0;
  uint16_t varIndex = 0;
  std::string name;
};

std::vector<Layout> LayoutOf(const std::vector<JetColumn>& columns, const std::vector<uint8_t>& overrideTypes) {
  std::vector<Layout> layout;
  uint16_t fixedOffset = 0;
  uint16_t varIndex = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    Layout l;
    l.name = columns[i].name;
    switch (columns[i].type) {
      case JetType::kText: l = Layout{kTypeText, false, 510, 0, 0, columns[i].name}; break;
      case JetType::kLong: l = Layout{kTypeLong, true, 4, 0, 0, columns[i].name}; break;
      case JetType::kDouble: l = Layout{kTypeDouble, true, 8, 0, 0, columns[i].name}; break;
    }
    if (i < overrideTypes.size() && overrideTypes[i] == kTypeInt) {
      l.type = kTypeInt;
      l.size = 2;
    } else if (i < overrideTypes.size() && overrideTypes[i] == kTypeOle) {
      l.type = kTypeOle;  // long binary, always null here
      l.size = 0;
    }
    if (l.fixed) {
      l.fixedOffset = fixedOffset;
      fixedOffset = static_cast<uint16_t>(fixedOffset + l.size);
    } else {
      l.varIndex = varIndex++;
    }
    layout.push_back(l);
  }
  return layout;
}

// One row: column count, fixed columns, variable data, end of data, the variable offsets from
// last to first, their count, and the mask of columns that are not null.
std::string EncodeRow(const std::vector<Layout>& layout, const std::vector<JetCell>& cells) {
  std::string row;
  Append16(row, static_cast<uint32_t>(layout.size()));
  std::string mask((layout.size() + 7) / 8, '\0');
  auto present = [&](std::size_t i) { return i < cells.size() && !std::holds_alternative<std::monostate>(cells[i]); };
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (present(i)) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
  }
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (!layout[i].fixed) continue;
    std::string value(layout[i].size, '\0');
    if (present(i)) {
      if (layout[i].type == kTypeDouble) {
        const double d = std::get<double>(cells[i]);
        std::memcpy(value.data(), &d, 8);
      } else {
        const int32_t v = std::get<int32_t>(cells[i]);
        for (std::size_t k = 0; k < value.size(); ++k) value[k] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xff);
      }
    }
    row += value;
  }
  std::vector<uint16_t> offsets;
  bool anyVariable = false;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].fixed) continue;
    anyVariable = true;
    offsets.push_back(static_cast<uint16_t>(row.size()));
    if (present(i)) row += Ucs2(std::get<std::string>(cells[i]));
  }
  if (anyVariable) {
    Append16(row, static_cast<uint32_t>(row.size()));  // end of the variable data
    for (std::size_t k = offsets.size(); k-- > 0;) Append16(row, offsets[k]);
    Append16(row, static_cast<uint32_t>(offsets.size()));
  }
  return row + mask;
}

std::string DataPage(uint32_t tablePage, const std::vector<std::string>& rows) {
  std::string page(kPage, '\0');
  page[0] = 0x01;
  page[1] = 0x01;
  Put32(page, 4, tablePage);
  Put16(page, 12, static_cast<uint32_t>(rows.size()));
  std::size_t end = kPage;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::size_t start = end - rows[r].size();
    page.replace(start, rows[r].size(), rows[r]);
    Put16(page, kDataHeader + 2 * r, static_cast<uint32_t>(start));
    end = start;
  }
  Put16(page, 2, static_cast<uint32_t>(end - kDataHeader - 2 * rows.size()));
  return page;
}

// Rows packed into as few pages as they fill.
std::vector<std::vector<std::string>> PackRows(const std::vector<std::string>& rows) {
  std::vector<std::vector<std::string>> pages(1);
  std::size_t used = kDataHeader;
  for (const std::string& row : rows) {
    if (row.size() + 2 + kDataHeader > kPage) throw std::length_error("row larger than a page");
    if (used + row.size() + 2 > kPage || pages.back().size() == kMaxRowsPerPage) {
      pages.emplace_back();
      used = kDataHeader;
    }
    pages.back().push_back(row);
    used += row.size() + 2;
  }
  return pages;
}

std::string TableDefinition(const std::vector<Layout>& layout, uint32_t rows, bool system, uint32_t usageMap,
                            uint32_t freeMap) {
  std::string page(kPage, '\0');
  page[0] = 0x02;
  page[1] = 0x01;
  Put32(page, 16, rows);
  page[40] = system ? 0x53 : 0x4e;
  uint32_t variables = 0;
  for (const Layout& l : layout) variables += l.fixed ? 0 : 1;
  Put16(page, 41, static_cast<uint32_t>(layout.size()));
  Put16(page, 43, variables);
  Put16(page, 45, static_cast<uint32_t>(layout.size()));
  Put32(page, 55, usageMap);
  Put32(page, 59, freeMap);
  std::size_t at = 63;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const Layout& l = layout[i];
    if (at + 25 > kPage) throw std::length_error("table definition larger than a page");
    page[at] = static_cast<char>(l.type);
    Put16(page, at + 5, static_cast<uint32_t>(i));
    Put16(page, at + 7, l.varIndex);
    Put16(page, at + 9, static_cast<uint32_t>(i));
    if (l.type == kTypeText) Put16(page, at + 11, 0x0409);  // general sort order
    page[at + 15] = static_cast<char>((l.fixed ? 0x01 : 0x00) | 0x02);  // fixed, may be null
    Put16(page, at + 21, l.fixedOffset);
    Put16(page, at + 23, l.size);
    at += 25;
  }
  for (const Layout& l : layout) {
    const std::string name = Ucs2(l.name);
    if (at + 2 + name.size() + 2 > kPage) throw std::length_error("table definition larger than a page");
    Put16(page, at, static_cast<uint32_t>(name.size()));
    page.replace(at + 2, name.size(), name);
    at += 2 + name.size();
  }
  Put16(page, at, 0xffff);  // no usage maps of variable columns follow
  at += 2;
  Put32(page, 8, static_cast<uint32_t>(at - 8));
  Put16(page, 2, static_cast<uint32_t>(kPage - at - 8));
  return page;
}

// The definition page: its 128 bytes from 0x18 are kept under RC4 with a fixed key; the key of
// a database without password (at 0x3e) must read 0 once decoded.
std::string DefinitionPage() {
  std::string page(kPage, '\0');
  page[1] = 0x01;
  std::memcpy(&page[4], "Standard Jet DB", 15);
  Put32(page, 0x14, 1);  // Jet 4
  std::string plain(128, '\0');
  Put16(plain, 0x3c - 0x18, 1252);   // code page
  Put16(plain, 0x6e - 0x18, 0x0409);  // sort order
  const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
  unsigned char state[256];
  for (int i = 0; i < 256; ++i) state[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + state[i] + key[i % 4]) & 0xff;
    std::swap(state[i], state[j]);
  }
  for (int n = 0, i = 0, j = 0; n < 128; ++n) {
    i = (i + 1) & 0xff;
    j = (j + state[i]) & 0xff;
    std::swap(state[i], state[j]);
    page[0x18 + n] = static_cast<char>(plain[n] ^ state[(state[i] + state[j]) & 0xff]);
  }
  return page;
}

}  // namespace

std::string WriteJet4(const std::vector<JetTable>& tables) {
  // Pages: 0 definition, 1 global usage map, 2 MSysObjects, 3 the tables' usage maps, then the
  // catalog's data pages, then each table's definition and data pages.
  const std::vector<JetColumn> catalogColumns = {{"Id", JetType::kLong},    {"ParentId", JetType::kLong},
                                                 {"Name", JetType::kText},  {"Type", JetType::kLong},
                                                 {"Flags", JetType::kLong},  {"LvProp", JetType::kText}};
  const std::vector<Layout> catalogLayout = LayoutOf(catalogColumns, {0, 0, 0, kTypeInt, 0, kTypeOle});

  std::vector<std::vector<Layout>> layouts;
  std::vector<std::vector<std::vector<std::string>>> tablePages;
  for (const JetTable& table : tables) {
    layouts.push_back(LayoutOf(table.columns, {}));
    std::vector<std::string> rows;
    for (const auto& cells : table.rows) rows.push_back(EncodeRow(layouts.back(), cells));
    tablePages.push_back(PackRows(rows));
  }
  // The catalog rows name each table's definition page, known once the pages are counted; the
  // catalog needs one data page for a few hundred tables.
  const uint32_t catalogData = 4;
  std::vector<uint32_t> definitionPages;
  uint32_t next = catalogData + 1;
  for (const auto& pages : tablePages) {
    definitionPages.push_back(next);
    next += 1 + static_cast<uint32_t>(pages.size());
  }
  const uint32_t totalPages = next;
  const int32_t kSystemFlags = static_cast<int32_t>(0x80000002u);
  const int32_t kTablesContainer = 0x0f000000;
  std::vector<std::string> catalogRows;
  catalogRows.push_back(EncodeRow(catalogLayout, {int32_t{2}, kTablesContainer, std::string("MSysObjects"), int32_t{1},
                                                  kSystemFlags}));
  for (std::size_t t = 0; t < tables.size(); ++t) {
    catalogRows.push_back(EncodeRow(catalogLayout, {static_cast<int32_t>(definitionPages[t]), kTablesContainer,
                                                    tables[t].name, int32_t{1}, int32_t{0}}));
  }
  if (PackRows(catalogRows).size() != 1) throw std::length_error("too many tables");

  // Usage maps (type 0: start page 0, one bit per page), used and free, two rows per table.
  const std::size_t bitmapBytes = (totalPages + 7) / 8;
  auto usageMap = [&](uint32_t firstPage, uint32_t count) {
    std::string map(5 + bitmapBytes, '\0');
    for (uint32_t p = firstPage; p < firstPage + count; ++p) map[5 + p / 8] = static_cast<char>(map[5 + p / 8] | (1 << (p % 8)));
    return map;
  };
  std::vector<std::string> mapRows;
  mapRows.push_back(usageMap(catalogData, 1));
  mapRows.push_back(usageMap(0, 0));
  for (std::size_t t = 0; t < tables.size(); ++t) {
    mapRows.push_back(usageMap(definitionPages[t] + 1, static_cast<uint32_t>(tablePages[t].size())));
    mapRows.push_back(usageMap(0, 0));
  }
  if (PackRows(mapRows).size() != 1) throw std::length_error("usage maps larger than a page");
  auto mapRow = [](std::size_t row) { return static_cast<uint32_t>((3u << 8) | row); };

  std::string file = DefinitionPage();
  std::string globalMap(kPage, '\0');
  globalMap[0] = 0x05;
  globalMap[1] = 0x01;
  file += globalMap;
  file += TableDefinition(catalogLayout, static_cast<uint32_t>(catalogRows.size()), true, mapRow(0), mapRow(1));
  file += DataPage(0, mapRows);
  file += DataPage(2, catalogRows);
  for (std::size_t t = 0; t < tables.size(); ++t) {
    file += TableDefinition(layouts[t], static_cast<uint32_t>(tables[t].rows.size()), false, mapRow(2 + 2 * t),
                            mapRow(3 + 2 * t));
    for (const auto& rows : tablePages[t]) file += DataPage(definitionPages[t], rows);
  }
  return file;
}

std::string WriteTopsurvJob(const std::vector<std::pair<int32_t, std::string>>& datasets,
                            const std::vector<JobPoint>& points) {
  JetTable sets{"tblDatasets", {{"keyDataset", JetType::kLong}, {"CsName", JetType::kText}}, {}};
  for (const auto& [key, system] : datasets) sets.rows.push_back({key, system});
  JetTable soPoints{"tblSoPoints",
                    {{"keyPoint", JetType::kLong},
                     {"fkeyDataset", JetType::kLong},
                     {"Name", JetType::kText},
                     {"C1", JetType::kDouble},
                     {"C2", JetType::kDouble},
                     {"C3", JetType::kDouble},
                     {"Code", JetType::kText}},
                    {}};
  int32_t key = 0;
  for (const JobPoint& p : points) soPoints.rows.push_back({++key, p.dataset, p.name, p.c1, p.c2, p.c3, JetCell{}});
  return WriteJet4({sets, soPoints});
}

}  // namespace jet_test
