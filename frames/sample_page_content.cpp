// The sample page's cells for the frames that show content (text,
// barcodes, pictures, power text); the page shows them after the shape
// frames' cells.
#include "frames/sample_page.h"

const std::vector<SampleCell>& ContentSampleCells()
{
    static const std::vector<SampleCell> cells;
    return cells;
}
