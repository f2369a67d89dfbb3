// Numbers read and written without the C library's slow paths must give exactly what strtod,
// strtoll and snprintf give: these tests compare both on millions of generated texts and values.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/fixed_format.h"
#include "common/numbers.h"
#include "common/text_output.h"

namespace {

#if defined(PASARELA_SANITIZED_BUILD)
constexpr long kDefaultCount = 200000;
#else
constexpr long kDefaultCount = 10000000;
#endif

// How many generated cases each comparison runs: PASARELA_DIFFERENTIAL_COUNT overrides.
long CaseCount() {
  const char* text = std::getenv("PASARELA_DIFFERENTIAL_COUNT");
  if (text != nullptr && std::atol(text) > 0) return std::atol(text);
  return kDefaultCount;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double ReferenceDouble(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

int ReferenceInt(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Formatted(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

std::string Quick(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Quick(const char* format, ...) {
  std::string out;
  va_list args;
  va_start(args, format);
  const bool done = common::AppendFormatted(out, format, args);
  va_end(args);
  return done ? out : "<no rápido>";
}

// Field texts of every shape the readers meet, and the odd ones strtod has rules for.
class FieldMaker {
 public:
  explicit FieldMaker(unsigned seed) : random_(seed) {}

  std::string Next() {
    std::string field = Prefix();
    switch (Pick(10)) {
      case 0: field += Chars(AnyDouble(), std::chars_format::general); break;
      case 1: field += Chars(Survey(), std::chars_format::fixed, static_cast<int>(Pick(9))); break;
      case 2: field += Chars(AnyDouble(), std::chars_format::scientific, static_cast<int>(Pick(25))); break;
      case 3: field += LongMantissa(); break;
      case 4: field += Halfway(); break;
      case 5: field += Oddity(); break;
      case 6: field += std::to_string(static_cast<long long>(random_())); break;
      case 7: field += Chars(Survey(), std::chars_format::fixed, 3); break;
      case 8: field += Formatted("%a", AnyDouble()); break;
      default:
        field += Chars(Survey() * std::pow(10.0, Pick(40) - 20.0), std::chars_format::general, static_cast<int>(1 + Pick(20)));
        break;
    }
    field += Suffix();
    return field;
  }

 private:
  // Texts of generated values, written quickly (the formatting is not what is tested here).
  static std::string Chars(double value, std::chars_format format, int precision = -1) {
    char text[400];
    const std::to_chars_result done = precision < 0 ? std::to_chars(text, text + sizeof text, value, format)
                                                    : std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, done.ptr);
  }

  unsigned long Pick(unsigned long n) { return random_() % n; }

  double AnyDouble() {
    for (;;) {
      const unsigned long long bits = random_();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      if (std::isfinite(value)) return value;
    }
  }

  double Survey() {
    return std::uniform_real_distribution<double>(-5e6, 5e6)(random_);
  }

  std::string Prefix() {
    static const char* const kPrefixes[] = {"", "", "", "", " ", "\t", "  ", "+", "-", " +", "\n", "\v\f\r", "+-", "-+", "--"};
    return kPrefixes[Pick(sizeof kPrefixes / sizeof *kPrefixes)];
  }

  std::string Suffix() {
    static const char* const kSuffixes[] = {"", "", "", "", " ", ",5", "e", "e+", "E-3", "e99999", "x", ".", "..5", "\n", " 12", "f", "d0"};
    return kSuffixes[Pick(sizeof kSuffixes / sizeof *kSuffixes)];
  }

  // Up to 800 significant digits, leading or trailing zeros, with a point and an exponent.
  std::string LongMantissa() {
    std::string digits;
    const unsigned long length = 1 + Pick(Pick(8) == 0 ? 800 : 40);
    if (Pick(4) == 0) digits.append(Pick(30), '0');
    for (unsigned long i = 0; i < length; ++i) digits.push_back(static_cast<char>('0' + Pick(10)));
    if (Pick(4) == 0) digits.append(Pick(300), '0');
    if (Pick(2) == 0) digits.insert(Pick(digits.size() + 1), ".");
    if (Pick(2) == 0) digits += Formatted("e%d", static_cast<int>(Pick(700)) - 350);
    return digits;
  }

  // The exact decimal midpoint between two neighbouring doubles, or a digit off it: the texts
  // where rounding ties to even must decide.
  std::string Halfway() {
    // Between 1 and 1e7 a midpoint has at most 60 significant digits; elsewhere up to 770,
    // which are slow to print, so fewer of those.
    const bool anywhere = Pick(50) == 0;
    double value = anywhere ? std::fabs(AnyDouble()) : 1.0 + std::fabs(Survey());
    if (value > 1e300 || value == 0) value = 1.0 + Pick(1000);
    const long double middle = (static_cast<long double>(value) + std::nextafter(value, INFINITY)) / 2;
    std::string text = Formatted(anywhere ? "%.800Le" : "%.60Le", middle);
    const std::size_t exponent = text.find('e');
    std::string mantissa = text.substr(0, exponent);
    while (mantissa.size() > 3 && mantissa.back() == '0') mantissa.pop_back();
    switch (Pick(3)) {
      case 0: break;
      case 1: mantissa += "0000000001"; break;
      default: mantissa.back() = mantissa.back() == '0' ? '0' : static_cast<char>(mantissa.back() - 1); break;
    }
    return mantissa + text.substr(exponent);
  }

  std::string Oddity() {
    static const char* const kOdd[] = {
        "", ".", "-", "+", "e5", ".e1", "1e", "1e+", "1.5e-", "0x1p3", "0X1A", "-0x10", "0x", "0xg",
        "inf", "INF", "-inf", "infinity", "Infinit", "nan", "-nan", "NaN(123)", "nanx", "in",
        "1e400", "-1e400", "1e-400", "4.9e-324", "2.4e-324", "2.5e-324", "2.2250738585072011e-308",
        "2.2250738585072014e-308", "1.7976931348623157e308", "1.7976931348623159e308", "0", "-0",
        "-0.0e-999", "00000000000000000000000001", ".000000000000000000000000000001e30",
        "9007199254740993", "1,5", "12,345.6", "1 2", "0.1", "123456789012345678901234567890",
        // Where plain decimals stop being exact: 2^53 and past it, 19 and 20 digits, 22 and 23
        // decimals.
        "9007199254740992", "900719925474099.2", "0.9007199254740993", "-9007199254.740993",
        "1234567890123456789", "12345678901234567890", "0.0000000000000000000001", "0.00000000000000000000001",
        "4.35", "0.3", "-0.000", "1.", "-.5"};
    return kOdd[Pick(sizeof kOdd / sizeof *kOdd)];
  }

  std::mt19937_64 random_;
};

}  // namespace

TEST(LenientNumbers, DoublesAreStrtodsBitForBitOnGeneratedFields) {
  FieldMaker fields(20261209);
  const long count = CaseCount();
  long mismatches = 0;
  for (long i = 0; i < count && mismatches < 10; ++i) {
    const std::string field = fields.Next();
    const double ours = common::LenientDouble(field);
    const double reference = ReferenceDouble(field);
    if (!SameBits(ours, reference)) {
      ++mismatches;
      ADD_FAILURE() << "\"" << field << "\": " << Formatted("%a", ours) << " against " << Formatted("%a", reference);
    }
  }
}

TEST(LenientNumbers, RulesAtTheEdges) {
  EXPECT_EQ(common::LenientDouble("  +12.5abc"), 12.5);
  EXPECT_EQ(common::LenientDouble("+-1"), 0.0);
  EXPECT_EQ(common::LenientDouble("0x10"), 16.0);
  EXPECT_EQ(common::LenientDouble("inf"), 0.0);
  EXPECT_EQ(common::LenientDouble("-nan"), 0.0);
  EXPECT_EQ(common::LenientDouble("1e999"), 0.0);
  EXPECT_TRUE(std::signbit(common::LenientDouble("-0")));
  EXPECT_EQ(common::LenientDouble("1e-310"), std::strtod("1e-310", nullptr));
  // A field is read within its bounds, whatever follows it in memory.
  EXPECT_EQ(common::LenientDouble(std::string_view("12345", 2)), 12.0);
  EXPECT_EQ(common::LenientDouble(std::string_view("1e5", 2)), 1.0);
}

TEST(LenientNumbers, IntegersAreStrtollsClampedOnGeneratedFields) {
  FieldMaker fields(7);
  const long count = CaseCount() / 10;
  for (long i = 0; i < count; ++i) {
    const std::string field = fields.Next();
    ASSERT_EQ(common::LenientInt(field), ReferenceInt(field)) << "\"" << field << "\"";
  }
  for (const char* field : {"2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999999",
                            "-99999999999999999999", " +7x", "+-7", "- 7", ""}) {
    EXPECT_EQ(common::LenientInt(field), ReferenceInt(field)) << field;
  }
}

namespace {

// The fixed-point conversions the writers use, and their integer and text conversions.
const char* const kDoubleFormats[] = {
    "%0.3lf", "%0.4lf", "%0.6lf", "%0.8lf", "%6.3lf", "%7.2lf", "%7.3lf", "%7.4lf", "%8.2lf", "%8.3lf",
    "%8.5lf", "%9.3lf", "%9.4lf", "%10.3lf", "%10.4lf", "%11.3lf", "%11.4lf", "%11.5lf", "%12.3lf",
    "%12.4lf", "%13.3lf", "%13.4lf", "%15.3lf", "%18.6lf", "%65.3lf", "%83.3lf", "%.0f", "%.3f", "%f",
    "%-9.3f", "%08.3f", "%-08.2f"};
const char* const kIntFormats[] = {"%d", "%5d", "%8d", "%-6d", "%-8d", "%05d", "%i"};

// Values of every kind: survey coordinates, decimal and binary ties, tiny negatives, huge and
// subnormal magnitudes, arbitrary bit patterns.
double GeneratedValue(std::mt19937_64& random) {
  switch (random() % 16) {
    case 0: return std::uniform_real_distribution<double>(-1e7, 1e7)(random);
    case 1: return std::uniform_real_distribution<double>(-2, 2)(random);
    case 2: return (static_cast<double>(static_cast<long>(random() % 20000000) - 10000000) + 0.5) / 1000.0;
    case 3: return (static_cast<double>(static_cast<long>(random() % 200000) - 100000) + 0.5) / 1024.0;
    case 4: return -std::ldexp(static_cast<double>(random() % 1000), -static_cast<int>(random() % 40));
    case 5: return std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), static_cast<int>(random() % 2100) - 1075);
    case 6: {
      const unsigned long long bits = random();
      double value;
      std::memcpy(&value, &bits, sizeof value);
      return value;
    }
    default: return std::uniform_real_distribution<double>(-1e5, 1e5)(random);
  }
}

}  // namespace

TEST(FixedFormat, EveryWriterFormatIsSnprintfsOnGeneratedValues) {
  std::mt19937_64 random(42);
  const long count = CaseCount();
  const std::size_t formats = sizeof kDoubleFormats / sizeof *kDoubleFormats;
  long mismatches = 0;
  for (long i = 0; i < count && mismatches < 10; ++i) {
    const double value = GeneratedValue(random);
    const char* format = kDoubleFormats[static_cast<std::size_t>(i) % formats];
    const std::string reference = Formatted(format, value);
    const std::string ours = Quick(format, value);
    if (ours != reference) {
      ++mismatches;
      ADD_FAILURE() << format << " of " << Formatted("%a", value) << ": \"" << ours << "\" against \"" << reference << "\"";
    }
  }
}

TEST(FixedFormat, SignsTiesAndSpecialValues) {
  const double awkward[] = {0.0, -0.0, -0.0001, -0.0004999, -0.0005, 0.0005, 0.125, 0.375, 2.5, 3.5, -2.5,
                            1.0005, 2.0005, 1e300, -1e308, DBL_MAX, DBL_MIN, 5e-324, INFINITY, -INFINITY,
                            NAN, -NAN, 0.5, 1.5, 1234567.8905, 4471990.0005};
  for (const char* format : kDoubleFormats) {
    for (const double value : awkward) {
      EXPECT_EQ(Quick(format, value), Formatted(format, value)) << format << " of " << Formatted("%a", value);
    }
  }
  EXPECT_EQ(Quick("%0.3lf", -0.0001), "-0.000");
  EXPECT_EQ(Quick("%.2f", 0.125), "0.12");
  EXPECT_EQ(Quick("%.0f", 2.5), "2");
}

TEST(FixedFormat, IntegersTextsAndWholeLinesAreSnprintfs) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 200000; ++i) {
    const int value = static_cast<int>(random() >> (random() % 64));
    const char* format = kIntFormats[static_cast<std::size_t>(i) % (sizeof kIntFormats / sizeof *kIntFormats)];
    ASSERT_EQ(Quick(format, value), Formatted(format, value)) << format << " " << value;
  }
  for (const int value : {0, -1, INT_MIN, INT_MAX}) EXPECT_EQ(Quick("%-8d|%5d", value, value), Formatted("%-8d|%5d", value, value));
  EXPECT_EQ(Quick("%ld %lld", LONG_MIN, LLONG_MAX), Formatted("%ld %lld", LONG_MIN, LLONG_MAX));
  EXPECT_EQ(Quick("[%-11s][%6s][%.*s][%.*s][%s]", "abc", "toolongtext", 2, "xyz", -1, "all", ""),
            Formatted("[%-11s][%6s][%.*s][%.*s][%s]", "abc", "toolongtext", 2, "xyz", -1, "all", ""));
  EXPECT_EQ(Quick("100%% %d\n", 3), "100% 3\n");
  EXPECT_EQ(Quick("  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d\n", 12LL, 1.0005, -0.0002, 7.25, 1, 2, 255),
            Formatted("  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d\n", 12LL, 1.0005, -0.0002, 7.25, 1, 2, 255));
}

TEST(FixedFormat, OtherConversionsFallBackToTheCLibraryAndLineEndsBecomeCrLf) {
  EXPECT_EQ(Quick("%x", 255), "<no rápido>");
  EXPECT_EQ(Quick("%+d", 5), "<no rápido>");
  EXPECT_EQ(Quick("%e", 1.0), "<no rápido>");
  common::TextWriter writer;
  writer.Printf("%x|%+.2e|%5.1f\n", 255, 1234.5, 2.25);
  writer.Printf("%s\n%0.3lf", "a", 1.5);
  writer.Printf(" 0\nPOINT\n%s\n%d", "x\ny", 7);
  writer.Printf("%s", "");
  writer.Printf("\n\n");
  EXPECT_EQ(writer.Bytes(), "ff|+1.23e+03|  2.2\r\na\r\n1.500 0\r\nPOINT\r\nx\r\ny\r\n7\r\n\r\n");
}
