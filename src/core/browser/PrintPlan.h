#pragma once

#include <vector>

// How a page of the browser goes onto paper: scaled to the printable width,
// keeping its proportions, and cut into as many sheets as its height needs.
struct PrintSheet {
    int sourceTop = 0;  // page rows printed on this sheet
    int sourceHeight = 0;
    int paperHeight = 0;  // what those rows take on the paper
};

// `pageWidth` x `pageHeight` pixels onto sheets of `paperWidth` x
// `paperHeight` printer dots. Nothing for an empty page or paper.
std::vector<PrintSheet> PlanPrint(int pageWidth, int pageHeight, int paperWidth, int paperHeight);
