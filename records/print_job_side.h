// The side of the card a job prints when nobody chose one: the side chosen
// last, else the front; a layout of one side prints its front. The Print
// dialog opens with it and a print from the command line prints it, so the
// two give the same sheets.
#pragma once

struct PrintJobRecord;

void SettleJobSide(PrintJobRecord* job);
