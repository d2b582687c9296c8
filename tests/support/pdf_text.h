// The text of a PDF file as poppler's pdftotext reads it, so that tests check what a reader
// of the report sees. Empty optional when pdftotext is not installed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

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
    // Fonts that shape "ff", "fi" ... into one ligature glyph give it back as that one
    // character; a reader sees the letters.
    static const std::pair<const char*, const char*> kLigatures[] = {
        {"\uFB00", "ff"}, {"\uFB01", "fi"}, {"\uFB02", "fl"}, {"\uFB03", "ffi"}, {"\uFB04", "ffl"}};
    for (const auto& [ligature, letters] : kLigatures) {
        const std::string from = ligature;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, from.size(), letters);
    }
    return text;
}

// The pictures drawn into the PDF as poppler's pdfimages lists them; empty optional when
// pdfimages is not installed.
inline std::optional<int> PdfImageCount(const std::filesystem::path& pdf) {
    if (std::system("pdfimages -v >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string command = "pdfimages -list '" + pdf.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    int lines = 0;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) ++lines;
    pclose(pipe);
    return lines > 2 ? lines - 2 : 0;  // two heading lines before the pictures
}

// Pages of the PDF: pdftotext ends every page with a form feed.
inline int PdfPageCount(const std::string& text) {
    int pages = 0;
    for (char c : text) pages += c == '\f';
    return pages;
}

}  // namespace quorvex::testing_support
