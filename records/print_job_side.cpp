#include "records/print_job_side.h"

#include "foundation/byte_order.h"
#include "records/print_job_record.h"

void SettleJobSide(PrintJobRecord* job)
{
    if (job->side != kPrintSideFront && job->side != kPrintSideBack)
        job->side = kPrintSideFront;
    if (GetI32LE(job->layout + kLabelTypeSidesOffset) < 2)
        job->side = kPrintSideFront;
}
