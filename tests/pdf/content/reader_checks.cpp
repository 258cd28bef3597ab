#include "reader_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "support/tools.h"

namespace contenttest {

using testsupport::run_command;
using testsupport::shell_quote;

namespace {

std::string attribute(const std::string& tag, const std::string& name) {
    const std::string key = name + "=\"";
    const auto at = tag.find(key);
    if (at == std::string::npos) return {};
    const auto start = at + key.size();
    const auto end = tag.find('"', start);
    if (end == std::string::npos) return {};
    return tag.substr(start, end - start);
}

std::string decode_entities(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '&') {
            const auto semi = text.find(';', i);
            if (semi != std::string::npos) {
                const std::string name = text.substr(i + 1, semi - i - 1);
                if (name == "amp") out += '&';
                else if (name == "lt") out += '<';
                else if (name == "gt") out += '>';
                else if (name == "quot") out += '"';
                else if (name == "apos") out += '\'';
                else out += text.substr(i, semi - i + 1);
                i = semi + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// Reads a binary PNM (P5 or P6) as written by pdftoppm.
bool read_pnm(const std::string& bytes, const char* magic, int& width, int& height,
              std::vector<unsigned char>& pixels, int channels) {
    std::istringstream in(bytes);
    std::string kind;
    int maxval = 0;
    in >> kind >> width >> height >> maxval;
    if (kind != magic || width <= 0 || height <= 0 || maxval != 255) return false;
    in.get();
    const size_t size = static_cast<size_t>(width) * height * channels;
    const auto offset = static_cast<size_t>(in.tellg());
    if (bytes.size() < offset + size) return false;
    pixels.assign(bytes.begin() + static_cast<long>(offset),
                  bytes.begin() + static_cast<long>(offset + size));
    return true;
}

}  // namespace

std::vector<BboxWord> parse_bbox(const std::string& xhtml) {
    std::vector<BboxWord> words;
    int page = 0;
    size_t pos = 0;
    while ((pos = xhtml.find('<', pos)) != std::string::npos) {
        const auto close = xhtml.find('>', pos);
        if (close == std::string::npos) break;
        const std::string tag = xhtml.substr(pos, close - pos + 1);
        if (tag.rfind("<page", 0) == 0) {
            ++page;
        } else if (tag.rfind("<word", 0) == 0) {
            BboxWord w;
            w.page = page;
            w.x_min = std::atof(attribute(tag, "xMin").c_str());
            w.y_min = std::atof(attribute(tag, "yMin").c_str());
            w.x_max = std::atof(attribute(tag, "xMax").c_str());
            w.y_max = std::atof(attribute(tag, "yMax").c_str());
            const auto end = xhtml.find("</word>", close);
            if (end == std::string::npos) break;
            w.text = decode_entities(xhtml.substr(close + 1, end - close - 1));
            words.push_back(w);
            pos = end;
            continue;
        }
        pos = close + 1;
    }
    return words;
}

std::vector<BboxWord> bbox_words(const std::filesystem::path& pdf) {
    const auto result = run_command("pdftotext -bbox " + shell_quote(pdf.string()) + " -");
    return parse_bbox(result.out);
}

std::vector<BboxLine> bbox_lines(const std::vector<BboxWord>& words) {
    std::vector<BboxLine> lines;
    for (const auto& w : words) {
        auto found = std::find_if(lines.begin(), lines.end(), [&](const BboxLine& l) {
            return l.page == w.page && std::fabs(l.y_min - w.y_min) < 0.5;
        });
        if (found == lines.end()) {
            BboxLine line;
            line.page = w.page;
            line.x_min = w.x_min;
            line.x_max = w.x_max;
            line.y_min = w.y_min;
            line.y_max = w.y_max;
            line.words.push_back(w);
            lines.push_back(line);
        } else {
            found->x_min = std::min(found->x_min, w.x_min);
            found->x_max = std::max(found->x_max, w.x_max);
            found->words.push_back(w);
        }
    }
    return lines;
}

std::vector<StextLine> stext_lines(const std::filesystem::path& pdf) {
    const auto result = run_command("mutool draw -q -F stext -o - " + shell_quote(pdf.string()));
    std::vector<StextLine> lines;
    const std::string& xml = result.out;
    for (size_t at = xml.find("<line "); at != std::string::npos; at = xml.find("<line ", at + 1)) {
        const auto close = xml.find('>', at);
        if (close == std::string::npos) break;
        std::istringstream box(attribute(xml.substr(at, close - at + 1), "bbox"));
        StextLine line;
        box >> line.x_min >> line.y_min >> line.x_max >> line.y_max;
        lines.push_back(line);
    }
    return lines;
}

std::string reader_complaints(const std::filesystem::path& pdf) {
    std::string problems;
    const std::string file = shell_quote(pdf.string());
    const auto qpdf = run_command("qpdf --check " + file);
    if (qpdf.exit_code != 0 || qpdf.err.find("WARNING") != std::string::npos ||
        qpdf.out.find("No syntax or stream encoding errors") == std::string::npos)
        problems += "qpdf --check: " + qpdf.out + qpdf.err + "\n";
    testsupport::TempDir scratch;
    const auto ppm = run_command("pdftoppm -r 20 " + file + " " +
                                 shell_quote((scratch / "page").string()));
    if (ppm.exit_code != 0 || !ppm.err.empty()) problems += "pdftoppm: " + ppm.err + "\n";
    const auto mu = run_command("mutool draw -q -r 20 -o " +
                                shell_quote((scratch / "mu%d.png").string()) + " " + file);
    // This build of mutool says on every run that it lacks colour
    // management; that line is about the tool, not the file.
    std::string mu_err;
    std::istringstream lines(mu.err);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.find("ICC support is not available") == std::string::npos) mu_err += line + "\n";
    if (mu.exit_code != 0 || !mu_err.empty()) problems += "mutool draw: " + mu_err + "\n";
    return problems;
}

// One page as pdftoppm writes it to standard output (PGM with -gray, else PPM).
static std::string render_page(const std::filesystem::path& pdf, int page, int dpi, const std::string& options) {
    return run_command("pdftoppm " + options + "-r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                       " -l " + std::to_string(page) + " " + shell_quote(pdf.string()))
        .out;
}

GreyImage render_grey(const std::filesystem::path& pdf, int page, int dpi) {
    GreyImage image;
    read_pnm(render_page(pdf, page, dpi, "-gray "), "P5", image.width, image.height, image.pixels, 1);
    return image;
}

GreyImage render_grey_mupdf(const std::filesystem::path& pdf, int page, int dpi) {
    GreyImage image;
    const auto drawn = run_command("mutool draw -q -c gray -F pgm -r " + std::to_string(dpi) + " -o - " +
                                   shell_quote(pdf.string()) + " " + std::to_string(page));
    read_pnm(drawn.out, "P5", image.width, image.height, image.pixels, 1);
    return image;
}

ColourImage render_colour(const std::filesystem::path& pdf, int page, int dpi) {
    ColourImage image;
    read_pnm(render_page(pdf, page, dpi, ""), "P6", image.width, image.height, image.pixels, 3);
    return image;
}

std::string uncompressed(const std::filesystem::path& pdf) {
    return run_command("qpdf --qdf --object-streams=disable " + shell_quote(pdf.string()) + " -")
        .out;
}

}  // namespace contenttest
