// The paper of the user's locale (LC_PAPER), for a print into a file when
// the print system does not name a queue's.
#pragma once

#include <QPageSize>

QPageSize LocalePaper();
