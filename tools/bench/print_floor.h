// The floor print_bench sets Tessaline beside: the same sheets of cards
// drawn by a plain Qt program on one thread, with QPdfWriter and QPainter's
// own text and none of our layout, so that what is left is the cost of
// the PDF itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A contact's field texts in UTF-8, by field id.
using FloorContact = std::vector<std::string>;

// Draws the contacts' cards, ten to a 2 x 5 US Letter sheet, into output
// as the design draws them: "sample" (the sample business card),
// "turned-card", "label-card" or "every-frame" (the cards of tools/bench/
// as their gLabels designs draw them, pictures read from the folder).
// `pages` is the number of pages the Tessaline job made: a sheet's pages
// past those the design draws (an empty back) are left empty, as in ours.
// 0 when the file was written.
int DrawFloor(const std::vector<FloorContact>& contacts, long pages, const std::filesystem::path& output,
              const std::string& design, const std::filesystem::path& pictures);
// Whether DrawFloor knows the design.
bool FloorKnows(const std::string& design);
