// The picture check must refuse exactly what a viewer would choke on, or the whole-run target's
// picture property proves nothing.
#include "tests/fuzz/svg_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Svg(const std::string& body) {
  return kHead + "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10.00\" height=\"5\">\n" +
         body + "</svg>\n";
}

TEST(SvgCheck, TellsAPictureFromGarbage) {
  const struct {
    const char* name;
    std::string text;
    bool valid;
  } cases[] = {
      {"empty picture", Svg(""), true},
      {"shapes and text",
       Svg("<g><circle cx=\"1\" cy=\"-2.5e-3\" r=\"3\"/></g>\n"
           "<text x=\"1\" y=\"2\">구멍 &amp; &lt;1&gt; &#x41;</text>\n"
           "<path d=\"M 0 0 A 1 1 0 1 1 2 2\"/><!-- note -->\n"),
       true},
      {"no declaration", "<svg width=\"1\"></svg>", true},
      {"nothing", "", false},
      {"root not svg", kHead + "<html></html>", false},
      {"second root", Svg("") + "<svg></svg>", false},
      {"text after the root", Svg("") + "x", false},
      {"unclosed element", Svg("<g>"), false},
      {"crossed elements", Svg("<g><text></g></text>"), false},
      {"unquoted value", Svg("<circle r=3/>"), false},
      {"value with <", Svg("<text x=\"<\"/>"), false},
      {"unknown entity", Svg("<text>&nbsp;</text>"), false},
      {"bare ampersand", Svg("<text>a & b</text>"), false},
      {"invalid UTF-8", Svg("<text>\xC3\x28</text>"), false},
      {"overlong UTF-8", Svg("<text>\xC0\xAF</text>"), false},
      {"surrogate in UTF-8", Svg("<text>\xED\xA0\x80</text>"), false},
      {"NUL byte", Svg(std::string("<text>a\0b</text>", 14)), false},
      {"control character", Svg("<text>\x01</text>"), false},
      {"unterminated comment", Svg("<!-- "), false},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_EQ(IsValidSvg(c.text, true, problem), c.valid) << c.name << ": " << problem;
    if (!c.valid) EXPECT_FALSE(problem.empty()) << c.name;
  }
}

TEST(SvgCheck, RefusesNumbersThatAreNotFiniteWhenAsked) {
  const struct {
    const char* name;
    std::string body;
    bool valid;
  } cases[] = {
      {"finite", "<rect x=\"-1.5\" y=\"2e+3\" width=\"0\" height=\"1\"/>", true},
      {"-nan size", "<rect width=\"-nan\"/>", false},
      {"inf radius", "<circle r=\"inf\"/>", false},
      {"overflowing number", "<circle cx=\"1e999\"/>", false},
      {"nan in a path", "<path d=\"M 0 0 L nan 1\"/>", false},
      {"broken number", "<line x1=\"1.2.3\"/>", false},
      {"words in text are text", "<text x=\"1\" y=\"1\">nan inf</text>", true},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_EQ(IsValidSvg(Svg(c.body), true, problem), c.valid) << c.name << ": " << problem;
    EXPECT_TRUE(IsValidSvg(Svg(c.body), false, problem)) << c.name << ": " << problem;
  }
}

}  // namespace
