// legend_sample FOLDER: writes the legend of the sample triggers, with
// their content files, as FOLDER/printout.rtf (what File > Print Triggers
// would open), for scripts/render-legend.sh to show.

#include <iostream>

#include "app/DesktopPictureLoader.h"
#include "legend/LegendComposer.h"
#include "legend/LegendPrinter.h"
#include "legend/LegendSample.h"
#include "store/TriggerTable.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: legend_sample FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    tavro::TriggerTable triggers;
    tavro::test::FillLegendSample(triggers, folder);
    tavro::DesktopPictureLoader pictures;
    const std::filesystem::path file = tavro::LegendFilePath(folder);
    if (!tavro::SaveLegend(tavro::ComposeLegend(triggers, folder, pictures), file)) {
        std::cerr << "legend_sample: cannot write " << file.string() << '\n';
        return 1;
    }
    std::cout << file.string() << '\n';
    return 0;
}
