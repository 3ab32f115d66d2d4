#include "editor/RichTextMimeData.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

const std::string kLetter =
    R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;}Dear {\b Bold}\par and {\cf1 <Red>}\par})";

TEST(RichTextMimeData, OffersRtfFirstThenHtmlAndPlainText) {
    RichTextMimeData data;
    data.SetRichText(kLetter);
    EXPECT_EQ(data.formats(), (QStringList{"text/rtf", "text/richtext", "application/rtf",
                                           "text/html", "text/plain"}));
    EXPECT_EQ(data.data("text/rtf").toStdString(), kLetter);
    EXPECT_EQ(data.text(), QStringLiteral("Dear Bold\nand <Red>"));
    const QString html = data.html();
    EXPECT_TRUE(html.contains(QStringLiteral("<b>Bold</b>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("color:#ff0000;\">&lt;Red&gt;</span>")))
        << html.toStdString();
    // As bytes (how the X11 clipboard hands them out): UTF-8.
    EXPECT_EQ(data.data("text/html"), html.toUtf8());
    EXPECT_EQ(data.data("text/plain"), QByteArray("Dear Bold\nand <Red>"));

    // Offered anew, the alternatives follow the new markup.
    data.SetRichText(R"({\rtf1 caf\'e9})");
    EXPECT_EQ(data.text(), QString::fromUtf8("caf\xC3\xA9"));
}

TEST(RichTextMimeData, MarkupThatIsNoRtfIsOfferedAsItCame) {
    for (const std::string markup : {"", "plain words"}) {
        RichTextMimeData data;
        data.SetRichText(markup);
        EXPECT_EQ(data.formats(), (QStringList{"text/rtf", "text/richtext", "application/rtf"}));
        EXPECT_FALSE(data.hasHtml());
        EXPECT_FALSE(data.hasText());
    }
}

}  // namespace
}  // namespace tavro
