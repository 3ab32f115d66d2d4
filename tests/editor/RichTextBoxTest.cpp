#include "editor/RichTextBox.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <gtest/gtest.h>

#include "editor/TestApplication.h"
#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {
namespace {

using test::RichDocumentBuilder;

class RichTextBoxTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    static Document ModelOf(const RichTextBox& box) { return ReadRtf(box.TextRTF()).document; }

    // Shows the RTF file in the control, as the rich-text page shows its
    // file; false when it is no RTF.
    static bool Load(RichTextBox& box, const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && box.SetTextRTF(file.readAll().toStdString());
    }

    // The images of the control, in document order.
    static std::vector<QImage> Images(const RichTextBox& box) {
        std::vector<QImage> images;
        const QTextDocument& document = *box.document();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat()) {
                    images.push_back(document
                                         .resource(QTextDocument::ImageResource,
                                                   QUrl(format.toImageFormat().name()))
                                         .value<QImage>());
                }
            }
        }
        return images;
    }

    static void Type(QWidget& widget, int key, const QString& text = {},
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&widget, &press);
    }

    QTemporaryDir folder_;
    RichTextBox box_;
};

Document StyledDocument() {
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
    return RichDocumentBuilder()
        .Font(u"DejaVu Sans")
        .Font(u"DejaVu Serif")
        .Paragraph({Alignment::Center, 0, 0, 0})
        .Text(u"Title", title)
        .Paragraph({Alignment::Left, 720, 360, -360})
        .Text(u"body \u00E9\u65E5\ttab", body)
        .Picture(photo)
        .Picture(test::Picture1x1Jpeg())
        .Build();
}

TEST_F(RichTextBoxTest, EditedDocumentKeepsTextStylesColoursAndPicturesThroughSaveAndLoad) {
    ASSERT_TRUE(box_.SetTextRTF(WriteRtf(StyledDocument())));
    EXPECT_EQ(ModelOf(box_), StyledDocument());

    // Edit: make "body" bold and type at the end of the title.
    box_.SetSelStart(7);  // "Title" CR LF
    box_.SetSelLength(4);
    box_.SetSelBold(true);
    box_.SetSelStart(5);
    box_.insertPlainText(QStringLiteral("!"));

    const QString path = folder_.filePath(QStringLiteral("edited.rtf"));
    ASSERT_EQ(box_.SaveFile(path), std::nullopt);
    RichTextBox loaded;
    ASSERT_TRUE(Load(loaded, path));

    const Document document = ModelOf(loaded);
    EXPECT_EQ(document, ModelOf(box_));
    EXPECT_EQ(DocumentText(document),
              u"Title!\nbody \u00E9\u65E5\ttab[picture 30x20][picture 1x1]\n");
    const auto& title = std::get<TextRun>(document.paragraphs.at(0).runs.at(0));
    EXPECT_EQ(title.text, u"Title!");
    EXPECT_EQ(title.format.textColor, (Color{200, 0, 0}));
    EXPECT_EQ(document.paragraphs.at(0).format.alignment, Alignment::Center);
    const auto& bold = std::get<TextRun>(document.paragraphs.at(1).runs.at(0));
    EXPECT_EQ(bold.text, u"body");
    EXPECT_TRUE(bold.format.bold);
    EXPECT_TRUE(bold.format.italic);
    EXPECT_EQ(bold.format.backgroundColor, (Color{255, 255, 0}));
    EXPECT_EQ(document.paragraphs.at(1).format, (ParagraphFormat{Alignment::Left, 720, 360, -360}));

    const std::vector<QImage> images = Images(loaded);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size(), QSize(30, 20));
    EXPECT_EQ(images[0].pixelColor(10, 10), QColor(0xD8, 0xD8, 0xD8));
    EXPECT_EQ(images[1].pixelColor(0, 0).blue(), 254);
    const auto& picture = std::get<Picture>(document.paragraphs.at(1).runs.at(2));
    EXPECT_EQ(picture, std::get<Picture>(StyledDocument().paragraphs.at(1).runs.at(1)))
        << "the loaded PNG bytes are saved as they came";
}

TEST_F(RichTextBoxTest, TableRowsStayRowsThroughEditing) {
    ParagraphFormat row;
    row.tableRow = true;
    const Document document = RichDocumentBuilder()
                                  .Paragraph(row)
                                  .Text(u"Name\tPhone")
                                  .Paragraph()
                                  .Text(u"after")
                                  .Build();
    ASSERT_TRUE(box_.SetTextRTF(WriteRtf(document)));
    box_.SetSelStart(4);
    box_.insertPlainText(QStringLiteral("s"));
    const Document edited = ModelOf(box_);
    ASSERT_EQ(edited.paragraphs.size(), 2u);
    EXPECT_TRUE(edited.paragraphs[0].format.tableRow);
    EXPECT_FALSE(edited.paragraphs[1].format.tableRow);
    EXPECT_EQ(DocumentText(edited), u"Names\tPhone\nafter\n");
}

TEST_F(RichTextBoxTest, NoRtfAndFailedSavesLeaveTheContent) {
    box_.SetText(QStringLiteral("kept"));
    QFile plain(folder_.filePath(QStringLiteral("plain.rtf")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("just text");
    plain.close();
    EXPECT_FALSE(Load(box_, plain.fileName()));
    EXPECT_EQ(box_.Text(), QStringLiteral("kept"));

    EXPECT_TRUE(
        box_.SaveFile(folder_.filePath(QStringLiteral("no/such/folder/x.rtf"))).has_value());

    // Saving replaces an existing file.
    ASSERT_EQ(box_.SaveFile(plain.fileName()), std::nullopt);
    RichTextBox loaded;
    ASSERT_TRUE(Load(loaded, plain.fileName()));
    EXPECT_EQ(loaded.Text(), QStringLiteral("kept"));
}

TEST_F(RichTextBoxTest, TextEndsLinesWithCrLfAndPositionsCountThem) {
    box_.SetText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
    EXPECT_EQ(box_.Text(), QStringLiteral("ab\r\ncd\r\n\r\nef"));
    const QString text = box_.Text();

    // Selecting by Text positions selects those characters of Text.
    box_.SetSelStart(static_cast<int>(text.indexOf('c')));
    box_.SetSelLength(7);  // "cd" CR LF CR LF "e"
    EXPECT_EQ(box_.SelStart(), 4);
    EXPECT_EQ(box_.SelLength(), 7);
    EXPECT_EQ(box_.textCursor().selectedText(),
              QStringLiteral("cd") + QChar::ParagraphSeparator + QChar::ParagraphSeparator + "e");

    // A line break inside a paragraph counts two as well.
    box_.SetTextRTF("{\\rtf1 one\\line two\\par three}");
    EXPECT_EQ(box_.Text(), QStringLiteral("one\r\ntwo\r\nthree"));
    box_.SetSelStart(10);
    EXPECT_EQ(box_.SelStart(), 10);
    EXPECT_EQ(box_.textCursor().block().text(), QStringLiteral("three"));

    box_.SetText(QString());
    EXPECT_EQ(box_.Text(), QString());
    EXPECT_EQ(box_.TextRTF(), WriteRtf(Document{}));
}

TEST_F(RichTextBoxTest, EnterAndPasteAtTheLineFeedInsertAfterTheLineEnd) {
    // What the legend does: select the LF ending an "Image: " line, send
    // Enter and Ctrl+V; the picture lands after that line break.
    box_.SetText(QStringLiteral("Image: a.png\r\nAlternate Text: x"));
    box_.setFocus();
    const int cr = static_cast<int>(box_.Text().indexOf(QStringLiteral("\r\n")));
    box_.SetSelStart(cr + 1);
    box_.SetSelLength(1);
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QApplication::clipboard()->setImage(red);
    Type(box_, Qt::Key_Return);
    Type(box_, Qt::Key_V, {}, Qt::ControlModifier);
    EXPECT_EQ(DocumentText(ModelOf(box_)), u"Image: a.png\n[picture 4x3]Alternate Text: x\n");
    ASSERT_EQ(Images(box_).size(), 1u);
    EXPECT_EQ(Images(box_)[0].pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(RichTextBoxTest, SelectionFontAppliesToTheSelectedRangeOnly) {
    box_.SetText(QStringLiteral("Tavro! Legend\r\nTrigger: sig"));
    box_.SetSelStart(0);
    box_.SetSelLength(static_cast<int>(box_.Text().size()));
    box_.SetSelFontName(QStringLiteral("DejaVu Sans"));
    box_.SetSelFontSize(10);
    box_.SetSelStart(0);
    box_.SetSelLength(13);
    box_.SetSelBold(true);
    box_.SetSelItalic(true);
    box_.SetSelUnderline(true);
    box_.SetSelFontSize(20);

    EXPECT_TRUE(box_.SelBold());
    EXPECT_TRUE(box_.SelItalic());
    EXPECT_TRUE(box_.SelUnderline());
    EXPECT_EQ(box_.SelFontSize(), 20);
    EXPECT_EQ(box_.SelFontName(), QStringLiteral("DejaVu Sans"));
    box_.SetSelStart(24);
    box_.SetSelLength(3);
    EXPECT_FALSE(box_.SelBold());
    EXPECT_EQ(box_.SelFontSize(), 10);

    const Document document = ModelOf(box_);
    const auto& title = std::get<TextRun>(document.paragraphs.at(0).runs.at(0));
    EXPECT_EQ(title.text, u"Tavro! Legend");
    EXPECT_EQ(title.format.halfPoints, 40);
    const auto& trigger = std::get<TextRun>(document.paragraphs.at(1).runs.at(0));
    EXPECT_FALSE(trigger.format.bold);
    EXPECT_EQ(trigger.format.halfPoints, 20);
    EXPECT_EQ(document.fonts.at(static_cast<std::size_t>(trigger.format.font)), u"DejaVu Sans");
}

TEST_F(RichTextBoxTest, LockedControlTakesNoTypingOrPasting) {
    box_.SetText(QStringLiteral("fixed"));
    box_.SetLocked(true);
    EXPECT_TRUE(box_.Locked());
    box_.SetSelStart(5);
    Type(box_, Qt::Key_X, QStringLiteral("x"));
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    box_.paste();
    EXPECT_EQ(box_.Text(), QStringLiteral("fixed"));

    box_.SetLocked(false);
    Type(box_, Qt::Key_X, QStringLiteral("x"));
    box_.paste();
    EXPECT_EQ(box_.Text(), QStringLiteral("fixedxpasted"));
}

TEST_F(RichTextBoxTest, PastesRichTextUnderEveryOfficeTypeAtTheSelection) {
    for (const char* type : {"text/rtf", "text/richtext", "application/rtf"}) {
        box_.SetText(QStringLiteral("one TWO three"));
        box_.SetSelStart(4);
        box_.SetSelLength(3);
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(type), "{\\rtf1 {\\b bold}\\par {\\i next}}");
        data->setText(QStringLiteral("plain"));
        QApplication::clipboard()->setMimeData(data);
        box_.paste();
        EXPECT_EQ(box_.Text(), QStringLiteral("one bold\r\nnext three")) << type;
        const Document document = ModelOf(box_);
        EXPECT_TRUE(std::get<TextRun>(document.paragraphs.at(0).runs.at(1)).format.bold) << type;
        EXPECT_TRUE(std::get<TextRun>(document.paragraphs.at(1).runs.at(0)).format.italic) << type;
    }
    // Plain text only: pasted as text.
    box_.SetText(QStringLiteral("a"));
    box_.SetSelStart(1);
    QApplication::clipboard()->setText(QStringLiteral("b"));
    box_.paste();
    EXPECT_EQ(box_.Text(), QStringLiteral("ab"));
}

TEST_F(RichTextBoxTest, CopyOffersRtfUnderTheOfficeTypes) {
    ASSERT_TRUE(box_.SetTextRTF("{\\rtf1 plain {\\b bold} {\\cf1 x}}"));
    box_.SetSelStart(6);
    box_.SetSelLength(4);
    box_.copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    for (const char* type : {"text/rtf", "text/richtext", "application/rtf"}) {
        ASSERT_TRUE(data->hasFormat(QString::fromLatin1(type))) << type;
        const Document copied =
            ReadRtf(data->data(QString::fromLatin1(type)).toStdString()).document;
        EXPECT_EQ(DocumentText(copied), u"bold\n");
        EXPECT_TRUE(std::get<TextRun>(copied.paragraphs.at(0).runs.at(0)).format.bold);
    }
    EXPECT_EQ(data->text(), QStringLiteral("bold"));
}

}  // namespace
}  // namespace tavro
