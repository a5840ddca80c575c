// SPDX-License-Identifier: GPL-3.0-or-later
// parvel-artwork: draws the editor's images at the three scales into a folder, and on request
// a contact sheet and a mock-up of the editor for review.
//
//     parvel-artwork OUTDIR [--contact-sheet FILE] [--mockup FILE]
#include "Images.h"
#include "PngWrite.h"
#include "Sheets.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    std::string outDir, sheetPath, mockupPath;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc)
            sheetPath = argv[++i];
        else if (!std::strcmp(argv[i], "--mockup") && i + 1 < argc)
            mockupPath = argv[++i];
        else if (argv[i][0] != '-' && outDir.empty())
            outDir = argv[i];
        else {
            outDir.clear();
            break;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: parvel-artwork OUTDIR [--contact-sheet FILE] [--mockup FILE]\n");
        return 2;
    }

    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    const auto& images = art::Images();
    art::RenderedSet rendered(art::kScaleCount);
    for (int sc = 0; sc < art::kScaleCount; ++sc)
        for (const art::ImageInfo& image : images) {
            rendered[sc].push_back(art::RenderImage(image, sc));
            const std::string path = outDir + "/" + art::FileName(image, sc);
            if (!art::WritePng(*rendered[sc].back(), path)) {
                std::fprintf(stderr, "parvel-artwork: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    if (!sheetPath.empty() && !art::WritePng(*art::ContactSheet(rendered), sheetPath)) {
        std::fprintf(stderr, "parvel-artwork: cannot write %s\n", sheetPath.c_str());
        return 1;
    }
    if (!mockupPath.empty() && !art::WritePng(*art::EditorMockup(rendered), mockupPath)) {
        std::fprintf(stderr, "parvel-artwork: cannot write %s\n", mockupPath.c_str());
        return 1;
    }
    return 0;
}
