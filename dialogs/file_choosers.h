// The file choosers of the picture tools and of the text import.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/handle.h"
#include "foundation/path_record.h"

class QWidget;

// "Select graphics file": the picture open dialog, starting in the folder
// chosen last. On OK the chosen file goes to out and becomes the last
// picture path; Cancel leaves out untouched.
bool ChooseGraphicsFile(QWidget* parent, PathRecord* out);
// The path of the picture chosen last; empty before any.
std::string LastPicturePath();

// "Select text file": on OK the whole file is read into a new Handle of
// its size (out), and name (when given) is the file's name. 0 on success or
// when cancelled (out stays null), else the file layer's code.
int32_t ChooseTextFile(QWidget* parent, Handle* out, std::string* name = nullptr);
// The whole file in a new Handle; 0 or the file layer's code.
int32_t ReadWholeFile(const PathRecord& path, Handle* out);
