#include "carddoc/card_shell.h"

#include <utility>

namespace {

CardShell* g_shell = nullptr;

}  // namespace

CardShell* CurrentCardShell() { return g_shell; }

CardShell* SetCardShell(CardShell* shell) { return std::exchange(g_shell, shell); }
