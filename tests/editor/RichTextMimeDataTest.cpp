#include "editor/RichTextMimeData.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

// The order of the types as offered on X11 is the e2e tests'; here: what
// each type holds.
TEST(RichTextMimeData, OffersRtfUnderTheOfficeTypesThenEscapedHtmlAndUtf8Text) {
    const QStringList rtfTypes = {"text/rtf", "text/richtext", "application/rtf"};
    const std::string letter =
        R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;}Dear {\b Bold}\par {\cf1 <Red>} caf\'e9})";
    RichTextMimeData data;
    data.SetRichText(letter);
    EXPECT_EQ(data.formats(), rtfTypes + QStringList({"text/html", "text/plain"}));
    EXPECT_EQ(data.data("application/rtf").toStdString(), letter);
    const QString html = data.html();
    EXPECT_TRUE(html.contains(QStringLiteral("color:#ff0000;\">&lt;Red&gt;</span>")))
        << html.toStdString();
    // As bytes (how the X11 clipboard hands them out): UTF-8.
    EXPECT_EQ(data.data("text/html"), html.toUtf8());
    EXPECT_EQ(data.data("text/plain"), QByteArray("Dear Bold\n<Red> caf\xC3\xA9"));

    // Offered anew, markup that is no RTF comes as it is, with no
    // alternatives left from before.
    data.SetRichText("plain words");
    EXPECT_EQ(data.formats(), rtfTypes);
    EXPECT_FALSE(data.hasHtml());
    EXPECT_FALSE(data.hasText());
}

}  // namespace
}  // namespace tavro
