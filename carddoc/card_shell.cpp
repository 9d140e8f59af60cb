#include "carddoc/card_shell.h"

namespace {

CardShell* g_shell = nullptr;

}  // namespace

CardShell* CurrentCardShell() { return g_shell; }

CardShell* SetCardShell(CardShell* shell)
{
    CardShell* previous = g_shell;
    g_shell = shell;
    return previous;
}
