#!/usr/bin/env bash
# The layer check passes on the tree, and fails on a planted include that
# runs up the layers, reaches a folder the library doesn't link or brings a
# widget header into a layer that may not show a window, naming the file and
# the include; an include down the table, and a widget header in a layer
# that may show windows, pass.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
check=$root/tools/check_layers.py
fail() { echo "FAIL: $*"; exit 1; }

python3 "$check" "$root" || fail "the tree breaks the layers"

planted=$(mktemp -d)
trap 'rm -rf "$planted"' EXIT
mkdir -p "$planted/cmake" "$planted/foundation" "$planted/database" "$planted/dialogs" "$planted/platform" \
  "$planted/printqueue"
cp "$root/cmake/Layers.cmake" "$planted/cmake/"
printf '#include "foundation/handle.h"\n#include "app/card_app.h"\n' > "$planted/foundation/upward.cpp"
printf '#include "typography/font_list.h"\n' > "$planted/database/sideways.h"
printf '#include <QString>\n#include <QFileDialog>\n' > "$planted/foundation/window.cpp"
printf '#include <QtWidgets/QMenu>\n' > "$planted/database/window.h"
# The print outputs draw through the device context, above it; the print
# queue needs nothing of it, below it.
printf '#include "printqueue/print_queue.h"\n#include "pdf/pdf_page_farm.h"\n#include "postscript/postscript_job.h"\n' \
  > "$planted/platform/output.cpp"
printf '#include "platform/dc.h"\n' > "$planted/printqueue/queue.cpp"
printf '#include "text/text_clipboard.h"\n#include "records/label_stock.h"\n#include <QMenu>\n' > "$planted/dialogs/downward.cpp"

out=$(python3 "$check" "$planted")
status=$?
[ $status -eq 1 ] || fail "planted includes passed (status $status): $out"
grep -q 'foundation/upward.cpp:2: includes app/card_app.h, a layer above foundation' <<<"$out" ||
  fail "the upward include is not named: $out"
grep -q "database/sideways.h:1: includes typography/font_list.h, but database doesn't link typography" <<<"$out" ||
  fail "the include of an unlinked folder is not named: $out"
grep -q 'foundation/window.cpp:2: includes <QFileDialog>, a widget header, but foundation may not show a window' \
  <<<"$out" || fail "the widget header in foundation is not named: $out"
grep -q 'database/window.h:1: includes <QtWidgets/QMenu>, a widget header' <<<"$out" ||
  fail "the widget header in database is not named: $out"
grep -q 'foundation/window.cpp:1' <<<"$out" && fail "a Qt Core header was refused: $out"
for include in 'platform/output.cpp:2: includes pdf/pdf_page_farm.h, a layer above platform' \
  'platform/output.cpp:3: includes postscript/postscript_job.h, a layer above platform' \
  'printqueue/queue.cpp:1: includes platform/dc.h, a layer above printqueue'; do
  grep -qF "$include" <<<"$out" || fail "not refused: $include: $out"
done
grep -q 'platform/output.cpp:1' <<<"$out" && fail "the print queue under the device context was refused: $out"
grep -q 'dialogs/' <<<"$out" && fail "an include down the table or a widget in a window layer was refused: $out"
echo "layer check: ok"
