// The text of a PDF file as poppler's pdftotext reads it, so that tests check what a reader
// of the report sees. Empty optional when pdftotext is not installed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvex::testing_support {

inline bool PdfToTextAvailable() {
    return std::system("pdftotext -v >/dev/null 2>&1") == 0;
}

// -layout keeps each printed line on one line of text.
inline std::optional<std::string> PdfText(const std::filesystem::path& pdf) {
    if (!PdfToTextAvailable()) return std::nullopt;
    const std::string command = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
    return text;
}

// Pages of the PDF: pdftotext ends every page with a form feed.
inline int PdfPageCount(const std::string& text) {
    int pages = 0;
    for (char c : text) pages += c == '\f';
    return pages;
}

}  // namespace quorvex::testing_support
