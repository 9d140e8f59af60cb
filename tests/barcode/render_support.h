// Drawing barcodes into images for the suites, and reading them back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "barcode/barcode_record.h"
#include "platform/dc.h"

// A white image with a black brush, pen and text colour and an Arial
// caption face, as a barcode frame sets up the context it draws on.
struct BarcodeCanvas {
    BarcodeCanvas(int width, int height);
    QImage image;
    std::unique_ptr<Dc> dc;
};

std::unique_ptr<Dc> BarcodeMeasuringDc();

// Draws rec at num / den with `quiet` pixels around its measured box,
// turned by rec.angle about the box's centre.
QImage RenderBarcode(BarcodeRecord rec, int16_t num, int16_t den, bool* encoded, int quiet = 60);

bool IsInk(const QImage& image, int x, int y);
// Lengths of the alternating dark and light runs from the first dark pixel
// to the last, along a row (left to right) or a column (bottom to top).
std::vector<int> RowRuns(const QImage& image, int y);
std::vector<int> ColumnRunsUpward(const QImage& image, int x);
// The row or column through the middle of the ink.
int MiddleInkRow(const QImage& image);
int MiddleInkColumn(const QImage& image);
// Runs as module counts; empty when a run is not a whole number of modules.
std::vector<int> RunsInModules(const std::vector<int>& runs, int pixelsPerModule);

bool HaveProgram(const std::string& program);
// Runs a program to its end and gives its standard output.
bool RunProgram(const std::string& program, const std::vector<std::string>& args, std::string* out);
