#include "richtext/DocumentText.h"

#include <gtest/gtest.h>

#include "richtext/BitmapPictures.h"
#include "richtext/RichDocumentBuilder.h"

namespace tavro {
namespace {

using test::RichDocumentBuilder;

TEST(PlainText, SeparatesParagraphsAndLinesWithLineFeedsAndLeavesPicturesOut) {
    ParagraphFormat row;
    row.tableRow = true;
    const Document document = RichDocumentBuilder()
                                  .Paragraph()
                                  .Picture(PlaceholderPicture(8, 8))
                                  .Text(u"Best" + std::u16string(1, kLineBreak) + u"John")
                                  .Paragraph()
                                  .Paragraph(row)
                                  .Text(u"Phone\t555")
                                  .Build();
    EXPECT_EQ(PlainText(document), u"Best\nJohn\n\nPhone\t555");
    EXPECT_EQ(DocumentText(document), u"[picture 16x16]Best\nJohn\n\nPhone\t555\n");
    EXPECT_EQ(PlainText(Document{}), u"");
    EXPECT_EQ(PlainText(RichDocumentBuilder().Paragraph().Paragraph().Build()), u"\n");
}

}  // namespace
}  // namespace tavro
