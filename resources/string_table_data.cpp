#include "resources/string_table_data.h"

// One section per subsystem; ids are unique across the whole table.
const StringTableEntry kStringTable[] = {
    // Platform utility layer: file errors.
    {365, "IO FILE ERORR"},
    {367, "Disk is Write Protected"},
    {370, "File is Locked."},

    // Managers' alert groups: the base string is the box title.
    {435, "PICT MNG  ERROR"},
    {450, "FILE MNG ERROR"},
    {470, "CURRPAGE MNG ERROR"},
    {500, "TEXT MNG ERROR"},
    {600, "FRAME MNG ERROR"},

    // Frame object model: the swap file's group (shared with the card
    // document) and the frame managers' group.
    {453, "Error read document."},
    {454, "Error write document."},
    {455, "The disk is full. Cannot open document."},
    {456, "The disk is full. Cannot save any additional files on this disk."},
    {457, "Can't create temporary file.\nClose application and restart system."},
    {601, "Out of limit frames on current page.\nNew frame is not displayed on current page."},
    {602, "Out of limit group frames on current page."},
    {603, "Not enough memory to complete allocate memory for Frame table."},
    {604, "Frame not found in FRAMES."},
    {609, "Error save frame on document file."},
    {612, "Unknow frame type."},
};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);
