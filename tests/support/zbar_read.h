// Reading barcodes back from pictures with a standard decoder (zbarimg).
#pragma once

#include <map>
#include <string>
#include <vector>

// The symbol texts zbarimg reads in each file, with its decoder options
// (such as "-Scodabar.enable=1"); a file where it reads nothing has none.
// A zbarimg that does not start, crashes or hangs fails the test.
std::map<std::string, std::vector<std::string>> ZbarRead(const std::vector<std::string>& options,
                                                         const std::vector<std::string>& files);
