#include "richtext/HtmlWriter.h"

#include <gtest/gtest.h>

#include "richtext/Base64.h"
#include "richtext/BitmapPictures.h"
#include "richtext/HtmlMarkupCheck.h"
#include "richtext/RichDocumentBuilder.h"

namespace tavro {
namespace {

using test::Picture1x1Jpeg;
using test::RichDocumentBuilder;

const std::u16string kBreak(1, kLineBreak);

// What the page's body holds.
std::string Body(const Document& document) {
    const std::string html = WriteHtml(document);
    const std::string head = "<html><head><meta charset=\"utf-8\"></head><body>\n";
    const std::string tail = "</body></html>\n";
    EXPECT_TRUE(html.starts_with(head) && html.ends_with(tail)) << html;
    return html.substr(head.size(), html.size() - head.size() - tail.size());
}

std::string BodyOfText(const std::u16string& text, CharacterFormat format = {}) {
    return Body(RichDocumentBuilder().Paragraph().Text(text, format).Build());
}

// The body of one paragraph of text in the default format.
std::string PlainParagraph(const std::string& markup) {
    return "<p style=\"margin:0;\"><span style=\"font-size:12pt;\">" + markup + "</span></p>\n";
}

// Every character format; paragraph layout in points; a line break, blanks
// alternating with no-break spaces and a tab that keep their width; an empty
// paragraph or last line that still takes a line; pictures as data URLs at
// their display size (1200 twips: 80 pixels), or at their own.
TEST(HtmlWriter, WritesEveryFormatAndLayout) {
    CharacterFormat all;
    all.font = 1;
    all.halfPoints = 21;
    all.bold = all.italic = all.underline = all.strike = true;
    all.textColor = Color{255, 0, 10};
    all.backgroundColor = Color{0, 171, 255};
    CharacterFormat underlined;
    underlined.underline = true;
    underlined.font = 7;  // not in the font table: no family
    Picture png = PlaceholderPicture(40, 20);
    png.displayWidth = 1200;
    png.displayHeight = 601;
    const Picture jpeg = Picture1x1Jpeg();
    const Document document = RichDocumentBuilder()
                                  .Font(u"Arial")
                                  .Font(u"Times New Roman")
                                  .Paragraph({Alignment::Center, 720, 7, -360})
                                  .Text(u"all", all)
                                  .Text(u"u", underlined)
                                  .Paragraph({Alignment::Justify, 0, 0, 0})
                                  .Text(u"a" + kBreak + u"  b   c\td")
                                  .Paragraph()
                                  .Text(u"")
                                  .Paragraph()
                                  .Picture(png)
                                  .Picture(jpeg)
                                  .Text(u"x" + kBreak)
                                  .Build();
    const std::string plain = "<span style=\"font-size:12pt;\">";
    EXPECT_EQ(Body(document),
              "<p style=\"margin:0;text-align:center;margin-left:36pt;margin-right:0.35pt;"
              "text-indent:-18pt;\"><span style=\"font-family:'Times New Roman';font-size:10.5pt;"
              "color:#ff000a;background-color:#00abff;\"><b><i><u><s>all</s></u></i></b></span>" +
                  plain + "<u>u</u></span></p>\n<p style=\"margin:0;text-align:justify;\">" +
                  plain +
                  "a<br>&nbsp; b &nbsp; c<span style=\"white-space:pre\">\t</span>d</span></p>\n"
                  "<p style=\"margin:0;\"><br></p>\n"
                  "<p style=\"margin:0;\"><img src=\"data:image/png;base64," +
                  EncodeBase64(png.data) + "\" width=\"80\" height=\"40\">" +
                  "<img src=\"data:image/jpeg;base64," + EncodeBase64(jpeg.data) + "\">" + plain +
                  "x<br></span><br></p>\n");
    EXPECT_EQ(Body(Document{}), "");
}

// Whatever the document holds comes out as text: no element, attribute,
// style or URL of its own can get into the page.
TEST(HtmlWriter, HostileTextStaysText) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"<script>alert('x & \"y\"')</script><img src=x onerror=alert(1)>",
         "&lt;script&gt;alert(&#39;x &amp; &quot;y&quot;&#39;)&lt;/script&gt;"
         "&lt;img src=x onerror=alert(1)&gt;"},
        {u"&lt; stays &amp;lt;", "&amp;lt; stays &amp;amp;lt;"},
        // Control characters are dropped; a lone surrogate becomes U+FFFD.
        {u"a\r\n\x01\x7F" + std::u16string(1, char16_t{0xD800}) + u"b",
         "a\xEF\xBF\xBD"
         "b"},
        {u"caf\u00E9 \u20AC \u65E5 \U0001F600 \u00A0",
         "caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5 \xF0\x9F\x98\x80 \xC2\xA0"}};
    for (const auto& [text, markup] : cases) {
        EXPECT_EQ(BodyOfText(text), PlainParagraph(markup));
    }
}

TEST(HtmlWriter, HostileDocumentsMakeNoMarkupOfTheirOwn) {
    const std::u16string hostile = u"<a href=\"javascript:x()\" onclick='y'>&quot;</a>\"'>";
    CharacterFormat named;
    named.font = 0;
    const ParagraphFormat row{Alignment::Left, 0, 0, 0, true};
    const Document document = RichDocumentBuilder()
                                  .Font(hostile)
                                  .Paragraph()
                                  .Text(hostile, named)
                                  .Paragraph(row)
                                  .Text(hostile + u"\t" + hostile, named)
                                  .Build();
    EXPECT_TRUE(test::OnlyWriterMarkup(WriteHtml(document))) << WriteHtml(document);
    // The check itself tells markup that is not the writer's.
    EXPECT_FALSE(test::OnlyWriterMarkup("<p style=\"\"><script>x</script></p>"));
    EXPECT_FALSE(test::OnlyWriterMarkup("<img src=\"data:image/png;base64,AA\" onerror=\"x\">"));
}

TEST(HtmlWriter, FontNamesCannotLeaveTheirStyle) {
    CharacterFormat named;
    named.font = 0;
    const auto styleOf = [&](const std::u16string& family) {
        const std::string body =
            Body(RichDocumentBuilder().Font(family).Paragraph().Text(u"x", named).Build());
        const std::size_t start = body.find("<span style=\"") + 13;
        return body.substr(start, body.find("\">x<") - start);
    };
    EXPECT_EQ(styleOf(u"Arial\"><script>alert(1)</script>"),
              "font-family:'Arial\\22 \\3e \\3c script\\3e alert\\28 1\\29 \\3c \\2f script\\3e ';"
              "font-size:12pt;");
    EXPECT_EQ(styleOf(u"x'; background:url(javascript:alert(1)); a:'"),
              "font-family:'x\\27 \\3b  background\\3a url\\28 javascript\\3a alert\\28 1\\29 \\29 "
              "\\3b  a\\3a \\27 ';font-size:12pt;");
    EXPECT_EQ(styleOf(u"back\\slash &amp;\n\u6E38\u660E\u671D"),
              "font-family:'back\\5c slash \\26 amp\\3b \xE6\xB8\xB8\xE6\x98\x8E\xE6\x9C\x9D';"
              "font-size:12pt;");
}

TEST(Base64, EncodesWithPadding) {
    const auto encode = [](std::string_view text) {
        return EncodeBase64(
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(encode(""), "");
    EXPECT_EQ(encode("f"), "Zg==");
    EXPECT_EQ(encode("fo"), "Zm8=");
    EXPECT_EQ(encode("foo"), "Zm9v");
    EXPECT_EQ(encode("foob"), "Zm9vYg==");
    EXPECT_EQ(encode("\xFB\xFF\xBF"), "+/+/");
}

}  // namespace
}  // namespace tavro
