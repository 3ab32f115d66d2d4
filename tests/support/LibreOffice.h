#pragma once

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro::test {

// Headless LibreOffice with a profile of its own in a temporary folder,
// removed afterwards. A conversion that hangs is killed, with the office
// process its launcher started.
class LibreOffice {
  public:
    static constexpr std::chrono::seconds kConversionTimeout{180};

    const std::filesystem::path& Folder() const { return folder_.Path(); }

    // Converts the files into Folder() / "out"; false when LibreOffice
    // failed or did not finish in time.
    bool Convert(const std::vector<std::filesystem::path>& files, const std::string& format,
                 const std::string& inputFilter = "") {
        std::vector<std::string> command = {
            "soffice", "-env:UserInstallation=file://" + (Folder() / "profile").string(),
            "--headless", "--norestore"};
        if (!inputFilter.empty()) {
            command.push_back("--infilter=" + inputFilter);
        }
        command.insert(command.end(),
                       {"--convert-to", format, "--outdir", (Folder() / "out").string()});
        for (const std::filesystem::path& file : files) {
            command.push_back(file.string());
        }
        x11::test::ChildProcess office(command, x11::test::EnvironmentWith({}), std::nullopt,
                                       (Folder() / "soffice.log").string());
        const std::optional<int> status = office.Wait(kConversionTimeout);
        if (!status) {
            KillChildrenOf(office.Pid());
        }
        return status == 0;
    }

    std::string Log() const { return ReadFile(Folder() / "soffice.log"); }

  private:
    static void KillChildrenOf(pid_t pid) {
        const std::string id = std::to_string(pid);
        std::ifstream children("/proc/" + id + "/task/" + id + "/children");
        for (pid_t child = 0; children >> child;) {
            kill(child, SIGKILL);
        }
    }

    TemporaryFolder folder_{"tavro-interop"};
};

// The pixel sizes ("WxH") of the pictures in a PDF file, in order, as
// pdfimages lists them; empty when it cannot read the file.
inline std::vector<std::string> PdfImageSizes(const std::filesystem::path& pdf) {
    const auto images =
        x11::test::RunTool({"pdfimages", "-list", pdf.string()}, x11::test::EnvironmentWith({}));
    // Header lines, then one line per image: page, number, type, width, height...
    std::istringstream lines(images.output);
    std::vector<std::string> sizes;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string page, number, type, width, height;
        if (fields >> page >> number >> type >> width >> height && type == "image") {
            sizes.push_back(width + "x" + height);
        }
    }
    return sizes;
}

}  // namespace tavro::test
