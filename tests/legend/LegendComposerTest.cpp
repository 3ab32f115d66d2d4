#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legend/LegendFixture.h"
#include "richtext/RichDocumentBuilder.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::u16string kRule(80, u'*');
const std::u16string kVersionLine = u"Tavro version " TAVRO_PROJECT_VERSION;

using LineList = std::vector<std::u16string>;

// The lines of one trigger, closed by an empty line, the rule and an empty
// line.
LineList Entry(LineList lines) {
    lines.insert(lines.end(), {u"", kRule, u""});
    return lines;
}

// The whole legend: the header, then the entries.
LineList Legend(std::initializer_list<LineList> entries) {
    LineList lines = {u"Tavro! Legend", kVersionLine, u"", kRule};
    for (const LineList& entry : entries) {
        lines.insert(lines.end(), entry.begin(), entry.end());
    }
    return lines;
}

// The runs of a paragraph, which must all be text.
std::vector<TextRun> TextRuns(const Paragraph& paragraph) {
    std::vector<TextRun> runs;
    for (const Run& run : paragraph.runs) {
        runs.push_back(std::get<TextRun>(run));
    }
    return runs;
}

CharacterFormat Arial(int halfPoints, bool bold = false) {
    CharacterFormat format;
    format.font = 0;
    format.halfPoints = halfPoints;
    format.bold = bold;
    return format;
}

class LegendComposition : public test::LegendFixture {};

// Every slot up to the count that holds a trigger text, with the lines of
// its type; fields of several lines continue over several legend lines. All
// is Arial 10 but the title and the trigger texts.
TEST_F(LegendComposition, ListsEachTriggerWithTheLinesOfItsType) {
    Add(u";sig", u"Signature", u"Text").ReplaceText = u"Best regards,\r\nAnna\r\n\r\nP.S. bye";
    Add(u";unix", u"Unix lines", u"Text").ReplaceText = u"one\ntwo\rthree\r\n";
    TriggerRecord& launch = Add(u";calc", u"Calculator", u"Launch");
    launch.CommandLine = u"galculator\r\n--mode=basic";
    launch.ReplaceText = u"not printed for a command";
    Add(u"", u"Deleted", u"Text");
    Add(u";new", u"Not typed yet", u"");
    Add(u";lower", u"Type in small letters", u"text").ReplaceText = u"not printed";
    triggers_.Slot(triggers_.TriggerCount).Trigger = u";unused";
    const Document legend = Compose();
    EXPECT_THAT(Lines(legend),
                ElementsAreArray(Legend(
                    {Entry({u"Trigger: ;sig", u"Type: Text", u"Name: Signature",
                            u"Text: Best regards,", u"Anna", u"", u"P.S. bye"}),
                     Entry({u"Trigger: ;unix", u"Type: Text", u"Name: Unix lines", u"Text: one",
                            u"two", u"three", u""}),
                     Entry({u"Trigger: ;calc", u"Type: Launch", u"Name: Calculator",
                            u"Launch: galculator", u"--mode=basic"}),
                     Entry({u"Trigger: ;new", u"Type: ", u"Name: Not typed yet"}),
                     Entry({u"Trigger: ;lower", u"Type: text", u"Name: Type in small letters"})})));

    EXPECT_THAT(legend.fonts, ElementsAre(u"Arial"));
    CharacterFormat title = Arial(40, true);
    title.italic = true;
    title.underline = true;
    EXPECT_THAT(TextRuns(legend.paragraphs.at(0)), ElementsAre(TextRun{title, u"Tavro! Legend"}));
    for (std::size_t i = 1; i < legend.paragraphs.size(); ++i) {
        const std::vector<TextRun> runs = TextRuns(legend.paragraphs[i]);
        if (!runs.empty() && runs[0].text == u"Trigger: ") {
            EXPECT_THAT(runs, ElementsAre(TextRun{Arial(20), u"Trigger: "},
                                          TextRun{Arial(28, true), runs.back().text}));
            continue;
        }
        for (const TextRun& run : runs) {
            EXPECT_EQ(run.format, Arial(20)) << ToUtf8(run.text);
        }
    }
}

TEST_F(LegendComposition, LabelsInsideTextsAreJustText) {
    Add(u"Trigger: x", u"Name: y", u"Text").ReplaceText =
        u"see Image: /tmp/a.png\r\nRich Text File: b.rtf\r\nTrigger: z";
    const std::filesystem::path picture = DataFile("a.png");
    WritePng(picture, 2, 2);
    Add(u";alt", u"Picture", u"Image").ReplaceText =
        u"Image: " + picture.u16string() + u"\r\nRich Text File: " + picture.u16string();
    const Document legend = Compose();
    EXPECT_THAT(
        Lines(legend),
        ElementsAreArray(Legend(
            {Entry({u"Trigger: Trigger: x", u"Type: Text", u"Name: Name: y",
                    u"Text: see Image: /tmp/a.png", u"Rich Text File: b.rtf", u"Trigger: z"}),
             Entry({u"Trigger: ;alt", u"Type: Image", u"Name: Picture", u"Image: ",
                    u"***** Image File does not exist *****",
                    u"Alternate Text: Image: " + picture.u16string(),
                    u"Rich Text File: " + picture.u16string()})})));
    EXPECT_THAT(log_.Calls(), IsEmpty());  // no picture was loaded
    // Only the real trigger lines are large and bold, each all of it.
    EXPECT_THAT(
        TextRuns(legend.paragraphs.at(4)),
        ElementsAre(TextRun{Arial(20), u"Trigger: "}, TextRun{Arial(28, true), u"Trigger: x"}));
    EXPECT_THAT(TextRuns(legend.paragraphs.at(9)), ElementsAre(TextRun{Arial(20), u"Trigger: z"}));
}

// Pictures are found as firing finds them, also after the program folder
// moved, while the paths print as stored; the table is not changed. A
// picture keeps its bytes and its shape, at 96 pixels to the inch, and at
// most six inches wide and eight high.
TEST_F(LegendComposition, EachImageLineIsFollowedByItsPictureOrTheMarker) {
    const std::vector<std::uint8_t> png = WritePng(DataFile("logo.png"), 40, 20);
    const std::string jpeg = test::TestDataFile("blue-1x1.jpg");
    WriteFile(DataFile("dot.jpg"), jpeg);
    WritePng(DataFile("wide.png"), 1200, 100);
    WritePng(DataFile("tall.png"), 100, 1600);
    WriteFile(DataFile("notes.png"), "not a picture");
    TriggerRecord& logo = Add(u";logo", u"Logo", u"Image");
    logo.ReplaceImageFile = DataFile("logo.png").u16string();
    logo.ReplaceText = u"[logo]";
    const std::u16string moved = u"/home/old/tavro/data/logo.png";
    const std::u16string missing = DataFile("gone.png").u16string();
    for (const std::u16string& file :
         {moved, missing, DataFile("notes.png").u16string(), std::u16string(u"logo.png"),
          DataFile("dot.jpg").u16string(), DataFile("wide.png").u16string(),
          DataFile("tall.png").u16string()}) {
        Add(u";i", u"Image", u"Image").ReplaceImageFile = file;
    }
    const Document legend = Compose();
    const std::vector<std::u16string> lines = Lines(legend);
    EXPECT_THAT(std::vector(lines.begin() + 4, lines.begin() + 13),
                ElementsAre(u"Trigger: ;logo", u"Type: Image", u"Name: Logo",
                            u"Image: " + logo.ReplaceImageFile, u"[picture 40x20]",
                            u"Alternate Text: [logo]", u"", kRule, u""));
    std::vector<std::u16string> shown;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].starts_with(u"Image: ")) {
            shown.push_back(lines[i].substr(7) + u" " + lines[i + 1]);
        }
    }
    const std::u16string marker = u"***** Image File does not exist *****";
    EXPECT_THAT(
        shown,
        ElementsAre(logo.ReplaceImageFile + u" [picture 40x20]", moved + u" [picture 40x20]",
                    missing + u" " + marker, DataFile("notes.png").u16string() + u" " + marker,
                    u"logo.png " + marker, DataFile("dot.jpg").u16string() + u" [picture 1x1]",
                    DataFile("wide.png").u16string() + u" [picture 1200x100]",
                    DataFile("tall.png").u16string() + u" [picture 100x1600]"));
    std::vector<Picture> pictures;
    for (const Paragraph& paragraph : legend.paragraphs) {
        if (!paragraph.runs.empty() && std::holds_alternative<Picture>(paragraph.runs[0])) {
            pictures.push_back(std::get<Picture>(paragraph.runs[0]));
        }
    }
    ASSERT_EQ(pictures.size(), 5u);
    EXPECT_EQ(pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(pictures[0].data, png);
    EXPECT_EQ(pictures[0].displayWidth, 40 * 15);
    EXPECT_EQ(pictures[0].displayHeight, 20 * 15);
    EXPECT_EQ(pictures[2].format, PictureFormat::Jpeg);
    EXPECT_EQ(std::string(pictures[2].data.begin(), pictures[2].data.end()), jpeg);
    EXPECT_EQ(pictures[3].displayWidth, 8640);
    EXPECT_EQ(pictures[3].displayHeight, 720);
    EXPECT_EQ(pictures[4].displayWidth, 720);
    EXPECT_EQ(pictures[4].displayHeight, 11520);
    EXPECT_FALSE(triggers_.TriggersDirty);
    EXPECT_EQ(triggers_.Slot(1).ReplaceImageFile, moved);
}

TEST_F(LegendComposition, RichTextKeepsItsStylesAndColoursInArial10) {
    WriteFile(DataFile("letter.rtf"),
              "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fmodern Courier New;}}"
              "{\\colortbl;\\red200\\green0\\blue0;}\n"
              "\\pard\\f1\\fs36 Dear \\b friend\\b0 ,\\par\n"
              "\\pard\\qc\\f0\\fs24\\cf1\\i red words\\i0\\cf0\\par\n}");
    TriggerRecord& letter = Add(u";letter", u"Letter", u"RTF");
    letter.ReplaceRTFFile = DataFile("letter.rtf").u16string();
    letter.ReplaceText = u"Dear friend";
    Add(u";memo", u"Memo", u"RTF").ReplaceRTFFile = DataFile("memo.rtf").u16string();
    WriteFile(DataFile("plain.rtf"), "Plain text is no rich text.");
    Add(u";plain", u"Plain", u"RTF").ReplaceRTFFile = DataFile("plain.rtf").u16string();
    Add(u";moved", u"Moved", u"RTF").ReplaceRTFFile = u"C:\\Tavro\\data\\letter.rtf";
    const Document legend = Compose();
    EXPECT_THAT(Lines(legend),
                ElementsAreArray(Legend(
                    {Entry({u"Trigger: ;letter", u"Type: RTF", u"Name: Letter",
                            u"Rich Text File: " + letter.ReplaceRTFFile, u"Dear friend,",
                            u"red words", u"Alternate Text: Dear friend"}),
                     Entry({u"Trigger: ;memo", u"Type: RTF", u"Name: Memo",
                            u"Rich Text File: " + DataFile("memo.rtf").u16string(),
                            u"***** Rich Text File does not exist *****", u"Alternate Text: "}),
                     Entry({u"Trigger: ;plain", u"Type: RTF", u"Name: Plain",
                            u"Rich Text File: " + DataFile("plain.rtf").u16string(),
                            u"***** Rich Text File does not exist *****", u"Alternate Text: "}),
                     Entry({u"Trigger: ;moved", u"Type: RTF", u"Name: Moved",
                            u"Rich Text File: C:\\Tavro\\data\\letter.rtf", u"Dear friend,",
                            u"red words", u"Alternate Text: "})})));
    EXPECT_THAT(TextRuns(legend.paragraphs.at(8)),
                ElementsAre(TextRun{Arial(20), u"Dear "}, TextRun{Arial(20, true), u"friend"},
                            TextRun{Arial(20), u","}));
    CharacterFormat red = Arial(20);
    red.italic = true;
    red.textColor = Color{200, 0, 0};
    EXPECT_THAT(TextRuns(legend.paragraphs.at(9)), ElementsAre(TextRun{red, u"red words"}));
    EXPECT_EQ(legend.paragraphs.at(9).format.alignment, Alignment::Center);
    EXPECT_THAT(legend.fonts, ElementsAre(u"Arial"));
}

}  // namespace
}  // namespace tavro
