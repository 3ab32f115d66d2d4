#include "legend/LegendSample.h"

#include "store/DataFolder.h"
#include "store/TriggerTable.h"

namespace tavro::test {

namespace fs = std::filesystem;

TriggerRecord& AddTrigger(TriggerTable& triggers, std::u16string trigger, std::u16string display,
                          std::u16string type) {
    TriggerRecord& record = triggers.Slot(triggers.TriggerCount++);
    record.Trigger = std::move(trigger);
    record.Display = std::move(display);
    record.Type = std::move(type);
    return record;
}

void FillLegendSample(TriggerTable& triggers, const fs::path& programFolder) {
    const fs::path data = DataFolderPath(programFolder);
    fs::create_directories(data);
    for (const char* name : {"logo.gif", "stripes.bmp", "photo.jpg", "chart.png", "letter.rtf"}) {
        fs::copy_file(fs::path(TAVRO_LEGEND_TEST_DATA) / name, data / name,
                      fs::copy_options::overwrite_existing);
    }
    const auto file = [&](const char* name) { return (data / name).u16string(); };
    AddTrigger(triggers, u";todo", u"Type not chosen yet", u"");
    const auto image = [&](std::u16string trigger, std::u16string display, std::u16string path,
                           std::u16string alternate) {
        TriggerRecord& record =
            AddTrigger(triggers, std::move(trigger), std::move(display), u"Image");
        record.ReplaceImageFile = std::move(path);
        record.ReplaceText = std::move(alternate);
    };
    image(u";bars", u"Colour bars", file("stripes.bmp"), u"[red, green and blue bars]");
    image(u";logo", u"Logo", file("logo.gif"), u"Tavro");
    image(u";lost", u"Lost picture", file("lost.png"), u"");
    image(u";photo", u"Photo", u"C:\\Users\\anna\\Tavro\\data\\photo.jpg", u"[sunset]");
    image(u";squares", u"Squares", file("chart.png"), u"[chequered]");
    AddTrigger(triggers, u";calc", u"Calculator", u"Launch").CommandLine = u"galculator";
    TriggerRecord& letter = AddTrigger(triggers, u";letter", u"Letter", u"RTF");
    letter.ReplaceRTFFile = file("letter.rtf");
    letter.ReplaceText = u"Dear customer,\r\nthank you for your order.";
    TriggerRecord& memo = AddTrigger(triggers, u";memo", u"Missing memo", u"RTF");
    memo.ReplaceRTFFile = file("memo.rtf");
    memo.ReplaceText = u"Memo";
    AddTrigger(triggers, u";addr", u"Address", u"Text").ReplaceText =
        u"Tavro Ltd.\r\n1 Main Street\r\nSpringfield";
    AddTrigger(triggers, u";note", u"Labels in a text", u"Text").ReplaceText =
        u"Image: " + file("logo.gif") + u"\r\nRich Text File: " + file("letter.rtf") +
        u"\r\nTrigger: none";
    AddTrigger(triggers, u";sig", u"Signature", u"Text").ReplaceText = u"Best regards,\r\nAnna";
}

}  // namespace tavro::test
