#include "shell/qt/save.hpp"

#include <cctype>

#include "shell/core/cli.hpp"
#include "shell/qt/hooks.hpp"

namespace korvex::shell::qt {

std::string page_kind(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".svg" || ext == ".png" || ext == ".pdf") return ext.substr(1);
    return {};
}

std::string save_page(Job& job, const std::filesystem::path& file, int width, int height, int HWND) {
    const std::string kind = page_kind(file);
    if (kind.empty()) return "The page is saved as SVG, PNG or PDF: the file name must end in .svg, .png or .pdf.";
    if (job.painting) return "A page is being drawn; save it when that is done.";
    std::unique_ptr<PageWriter> writer = kind == "svg" ? make_svg_page(width, height) : make_page(kind, width, height);
    if (!writer) return "Could not make a " + kind + " page.";
    PAINTPAGE(job, writer->surface(), width, height, HWND, HDC_FILE);
    if (!writer->save(file)) return "Could not write the page to\n" + file.string();
    return {};
}

}  // namespace korvex::shell::qt
