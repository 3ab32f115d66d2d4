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

TEST_F(LegendComposition, OneTextTriggerGivesTheHeaderItsLinesAndTheRule) {
    Add(u";sig", u"Signature", u"Text").ReplaceText = u"Best regards";
    EXPECT_THAT(Lines(Compose()), ElementsAre(u"Tavro! Legend", kVersionLine, u"", kRule,
                                              u"Trigger: ;sig", u"Type: Text", u"Name: Signature",
                                              u"Text: Best regards", u"", kRule, u""));
}

TEST_F(LegendComposition, LaunchShowsItsCommandOtherTypesOnlyTheCommonLines) {
    TriggerRecord& launch = Add(u";calc", u"Calculator", u"Launch");
    launch.CommandLine = u"galculator --mode=basic";
    launch.ReplaceText = u"not printed for a command";
    Add(u";new", u"Not typed yet", u"");
    Add(u";lower", u"Type in small letters", u"text").ReplaceText = u"not printed";
    EXPECT_THAT(Lines(Compose()),
                ElementsAreArray(Legend(
                    {Entry({u"Trigger: ;calc", u"Type: Launch", u"Name: Calculator",
                            u"Launch: galculator --mode=basic"}),
                     Entry({u"Trigger: ;new", u"Type: ", u"Name: Not typed yet"}),
                     Entry({u"Trigger: ;lower", u"Type: text", u"Name: Type in small letters"})})));
}

TEST_F(LegendComposition, FieldsWithLineBreaksContinueOverSeveralLines) {
    Add(u";sig", u"Signature", u"Text").ReplaceText = u"Best regards,\r\nAnna\r\n\r\nP.S. bye";
    Add(u";unix", u"Unix lines", u"Text").ReplaceText = u"one\ntwo\rthree\r\n";
    Add(u";run", u"Script", u"Launch").CommandLine = u"first\r\nsecond";
    const Document legend = Compose();
    EXPECT_THAT(
        Lines(legend),
        ElementsAreArray(Legend({Entry({u"Trigger: ;sig", u"Type: Text", u"Name: Signature",
                                        u"Text: Best regards,", u"Anna", u"", u"P.S. bye"}),
                                 Entry({u"Trigger: ;unix", u"Type: Text", u"Name: Unix lines",
                                        u"Text: one", u"two", u"three", u""}),
                                 Entry({u"Trigger: ;run", u"Type: Launch", u"Name: Script",
                                        u"Launch: first", u"second"})})));
    // The continued lines are plain legend text.
    EXPECT_THAT(TextRuns(legend.paragraphs.at(8)), ElementsAre(TextRun{Arial(20), u"Anna"}));
}

TEST_F(LegendComposition, TextIsArial10TheTitleAndTriggerTextsStandOut) {
    Add(u";sig", u"Signature", u"Text").ReplaceText = u"Hi";
    const Document legend = Compose();
    EXPECT_THAT(legend.fonts, ElementsAre(u"Arial"));
    CharacterFormat title = Arial(40, true);
    title.italic = true;
    title.underline = true;
    EXPECT_THAT(TextRuns(legend.paragraphs.at(0)), ElementsAre(TextRun{title, u"Tavro! Legend"}));
    EXPECT_THAT(TextRuns(legend.paragraphs.at(1)), ElementsAre(TextRun{Arial(20), kVersionLine}));
    EXPECT_THAT(TextRuns(legend.paragraphs.at(4)),
                ElementsAre(TextRun{Arial(20), u"Trigger: "}, TextRun{Arial(28, true), u";sig"}));
    for (std::size_t i = 5; i < legend.paragraphs.size(); ++i) {
        for (const TextRun& run : TextRuns(legend.paragraphs[i])) {
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

TEST_F(LegendComposition, EachImageLineIsFollowedByItsPictureOrTheMarker) {
    const std::vector<std::uint8_t> png = WritePng(DataFile("logo.png"), 40, 20);
    WriteFile(DataFile("notes.png"), "not a picture");
    const std::u16string missing = DataFile("gone.png").u16string();
    Add(u";gone", u"Gone", u"Image").ReplaceImageFile = missing;
    TriggerRecord& logo = Add(u";logo", u"Logo", u"Image");
    logo.ReplaceImageFile = DataFile("logo.png").u16string();
    logo.ReplaceText = u"[logo]";
    Add(u";notes", u"Notes", u"Image").ReplaceImageFile = DataFile("notes.png").u16string();
    const Document legend = Compose();
    EXPECT_THAT(Lines(legend),
                ElementsAreArray(Legend(
                    {Entry({u"Trigger: ;gone", u"Type: Image", u"Name: Gone", u"Image: " + missing,
                            u"***** Image File does not exist *****", u"Alternate Text: "}),
                     Entry({u"Trigger: ;logo", u"Type: Image", u"Name: Logo",
                            u"Image: " + logo.ReplaceImageFile, u"[picture 40x20]",
                            u"Alternate Text: [logo]"}),
                     Entry({u"Trigger: ;notes", u"Type: Image", u"Name: Notes",
                            u"Image: " + DataFile("notes.png").u16string(),
                            u"***** Image File does not exist *****", u"Alternate Text: "})})));
    const auto& picture = std::get<Picture>(legend.paragraphs.at(17).runs.at(0));
    EXPECT_EQ(picture.format, PictureFormat::Png);
    EXPECT_EQ(picture.data, png);
    // 96 pixels to the inch.
    EXPECT_EQ(picture.displayWidth, 40 * 15);
    EXPECT_EQ(picture.displayHeight, 20 * 15);
}

TEST_F(LegendComposition, JpegPicturesKeepTheirBytesAndLargePicturesFitThePage) {
    const std::string jpeg = test::TestDataFile("blue-1x1.jpg");
    WriteFile(DataFile("dot.jpg"), jpeg);
    WritePng(DataFile("wide.png"), 1200, 100);
    WritePng(DataFile("tall.png"), 100, 1600);
    Add(u";dot", u"Dot", u"Image").ReplaceImageFile = DataFile("dot.jpg").u16string();
    Add(u";wide", u"Wide", u"Image").ReplaceImageFile = DataFile("wide.png").u16string();
    Add(u";tall", u"Tall", u"Image").ReplaceImageFile = DataFile("tall.png").u16string();
    std::vector<Picture> pictures;
    for (const Paragraph& paragraph : Compose().paragraphs) {
        if (!paragraph.runs.empty() && std::holds_alternative<Picture>(paragraph.runs[0])) {
            pictures.push_back(std::get<Picture>(paragraph.runs[0]));
        }
    }
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].format, PictureFormat::Jpeg);
    EXPECT_EQ(std::string(pictures[0].data.begin(), pictures[0].data.end()), jpeg);
    // Six inches wide at most, eight inches high at most; the shape stays.
    EXPECT_EQ(pictures[1].displayWidth, 8640);
    EXPECT_EQ(pictures[1].displayHeight, 720);
    EXPECT_EQ(pictures[2].displayWidth, 720);
    EXPECT_EQ(pictures[2].displayHeight, 11520);
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
                            u"***** Rich Text File does not exist *****", u"Alternate Text: "})})));
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

TEST_F(LegendComposition, MovedContentFilesAreFoundInTheDataFolderPathsPrintAsStored) {
    WritePng(DataFile("logo.png"), 3, 2);
    WriteFile(DataFile("letter.rtf"), "{\\rtf1 Moved along.\\par}");
    const std::u16string oldPicture = u"/home/old/tavro/data/logo.png";
    const std::u16string oldLetter = u"C:\\Tavro\\data\\letter.rtf";
    Add(u";logo", u"Logo", u"Image").ReplaceImageFile = oldPicture;
    Add(u";letter", u"Letter", u"RTF").ReplaceRTFFile = oldLetter;
    Add(u";bare", u"Bare name", u"Image").ReplaceImageFile = u"logo.png";
    const std::vector<std::u16string> lines = Lines(Compose());
    EXPECT_THAT(std::vector(lines.begin() + 7, lines.begin() + 9),
                ElementsAre(u"Image: " + oldPicture, u"[picture 3x2]"));
    EXPECT_THAT(std::vector(lines.begin() + 16, lines.begin() + 18),
                ElementsAre(u"Rich Text File: " + oldLetter, u"Moved along."));
    EXPECT_THAT(std::vector(lines.begin() + 25, lines.begin() + 27),
                ElementsAre(u"Image: logo.png", u"***** Image File does not exist *****"));
    EXPECT_THAT(log_.Calls(),
                ElementsAre(fake::FormatCall("LoadPicture",
                                             {fake::Quoted(DataFile("logo.png").u16string())})));
    // Printing changes nothing in the table.
    EXPECT_FALSE(triggers_.TriggersDirty);
    EXPECT_EQ(triggers_.Slot(0).ReplaceImageFile, oldPicture);
}

TEST_F(LegendComposition, SlotsWithoutTriggerTextAreLeftOut) {
    Add(u";a", u"First", u"Text");
    Add(u"", u"Deleted", u"Text");
    Add(u";c", u"Third", u"Launch");
    triggers_.Slot(triggers_.TriggerCount).Trigger = u";unused";  // beyond TriggerCount
    const std::vector<std::u16string> lines = Lines(Compose());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), kRule), 3);
    EXPECT_EQ(lines.at(11), u"Trigger: ;c");
}

}  // namespace
}  // namespace tavro
