#include "editor/RichTextBox.h"

#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include "editor/TestApplication.h"
#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {
namespace {

Document ModelOf(const RichTextBox& box) {
    return ReadRtf(box.TextRTF()).document;
}

// The pictures the control shows, in document order.
std::vector<QImage> Images(const RichTextBox& box) {
    std::vector<QImage> images;
    const QTextDocument& document = *box.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QUrl name(format.toImageFormat().name());
                images.push_back(
                    document.resource(QTextDocument::ImageResource, name).value<QImage>());
            }
        }
    }
    return images;
}

// What the rich-text page shows of a file is what it saves again: styles,
// colours, paragraph formats, table rows and pictures, the PNG bytes as they
// came.
TEST(RichTextBoxTest, ShowsAndGivesBackTheDocumentWithAllItsFormatting) {
    test::TestApplication();
    CharacterFormat title;
    title.font = 0;
    title.halfPoints = 32;
    title.bold = title.underline = true;
    title.textColor = Color{200, 0, 0};
    CharacterFormat body;
    body.font = 1;
    body.halfPoints = 20;
    body.italic = body.strike = true;
    body.backgroundColor = Color{255, 255, 0};
    Picture photo = PlaceholderPicture(30, 20);
    photo.displayWidth = 900;
    photo.displayHeight = 600;
    ParagraphFormat row;
    row.tableRow = true;
    const Document styled = test::RichDocumentBuilder()
                                .Font(u"DejaVu Sans")
                                .Font(u"DejaVu Serif")
                                .Paragraph({Alignment::Center, 0, 0, 0})
                                .Text(u"Title", title)
                                .Paragraph({Alignment::Left, 720, 360, -360})
                                .Text(u"body \u00E9\u65E5\ttab", body)
                                .Picture(photo)
                                .Picture(test::Picture1x1Jpeg())
                                .Paragraph(row)
                                .Text(u"Name\tPhone", body)
                                .Build();
    RichTextBox box;
    ASSERT_TRUE(box.SetTextRTF(WriteRtf(styled)));
    EXPECT_EQ(ModelOf(box), styled);
    const std::vector<QImage> images = Images(box);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].pixelColor(10, 10), QColor(0xD8, 0xD8, 0xD8));
    EXPECT_EQ(images[1].pixelColor(0, 0).blue(), 254);

    EXPECT_FALSE(box.SetTextRTF("just text"));
}

// LibreOffice and other word processors offer and take RTF under one of
// three types.
TEST(RichTextBoxTest, PastesAndCopiesRtfUnderEveryOfficeType) {
    test::TestApplication();
    RichTextBox box;
    QClipboard& clipboard = *QApplication::clipboard();
    for (const char* type : {"text/rtf", "text/richtext", "application/rtf"}) {
        box.SetText(QString());
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(type), "{\\rtf1 {\\b bold}\\par {\\i next}}");
        data->setText(QStringLiteral("plain"));
        clipboard.setMimeData(data);
        box.paste();
        const Document document = ModelOf(box);
        EXPECT_EQ(DocumentText(document), u"bold\nnext\n") << type;
        EXPECT_TRUE(std::get<TextRun>(document.paragraphs.at(0).runs.at(0)).format.bold) << type;
        EXPECT_TRUE(std::get<TextRun>(document.paragraphs.at(1).runs.at(0)).format.italic) << type;
    }
    clipboard.setText(QStringLiteral("only text"));
    box.SetText(QString());
    box.paste();
    EXPECT_EQ(box.Text(), QStringLiteral("only text"));

    ASSERT_TRUE(box.SetTextRTF("{\\rtf1 {\\b bold}\\par}"));
    box.selectAll();
    box.copy();
    const QMimeData& copied = *clipboard.mimeData();
    for (const char* type : {"text/rtf", "text/richtext", "application/rtf"}) {
        const Document document =
            ReadRtf(copied.data(QString::fromLatin1(type)).toStdString()).document;
        EXPECT_EQ(DocumentText(document), u"bold\n") << type;
        EXPECT_TRUE(std::get<TextRun>(document.paragraphs.at(0).runs.at(0)).format.bold) << type;
    }
    EXPECT_TRUE(copied.text().startsWith(QStringLiteral("bold")));
}

}  // namespace
}  // namespace tavro
