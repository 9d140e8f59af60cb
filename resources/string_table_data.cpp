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

    // Text engine: the text managers' group.
    {502, "Can't undo operation."},
    {503, "Spell Check complete."},
    {504, "Paragraph is too large. Please make a new one."},
    {505, "Can't paste text because paragraph is too large."},

    // Card document: the Edit menu's undo item, and the name of each undo
    // action (521 + action).
    {521, "Can't Undo"},
    {522, "New Frame"},
    {523, "Resize Frame"},
    {524, "Move Frame"},
    {525, "Change Text"},
    {526, "Rotate Frame"},
    {527, "Change Frame"},
    {528, "Delete Frame"},
    {529, "Move Picture"},
    {530, "Import Picture"},

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

    // Frame object model: the picture manager's group (435 + n).
    {436, "TMP picture error. Delete picture frame."},
    {437, "Loading picture error. Delete picture frame."},
    {438, "Error Subscribe operation."},
    {439, "Picture file not found."},
    {440, "( EPS File )."},
    {441, "Picture Not Found."},

    // Frame object model: the current-page manager's group.
    {471, "Not Found Page .[CurrPage2Page]"},
    {472, "You can't link text boxes across\nmaster pages or onto the pasteboard."},
    {473, "Error get group frame in current page."},

    // Card database engine: database messages (200 + n, 200 is their
    // caption), the captions of the long passes, and the disk-space box.
    {200, "Orvane Messages"},
    {201, "Enter New File Name:"},
    {202, "This File is not DataBase file."},
    {203, "DataBase version is old."},
    {204, "Invalid Date."},
    {205, "Zip-code must be 5, 9 or 11 digits."},
    {206, "Incorrect State Abbreviations."},
    {207, "Error copying DataBase file."},
    {208, "Database is damaged. Please reopen the Database."},
    {209, "Index file is damaged. Please remove Index file and reopen the Database."},
    {210, "Database can consist not more then 32000 records."},
    {211, "Database already opened!!!"},
    {212, "Can't 'Save As' into opened Database"},
    {213, "Database already opened!!!"},
    {214, "Can't Export into opened Database"},
    {215, "Select Database for Merge"},
    {216, "Opened Database can't be merged!!!"},
    {217, "Can't 'Split'  into opened Database!!!"},
    {218, "No Records for split..."},
    {219, "Save current split file as:"},
    {220, "No Records in Database for EXPORT."},
    {221, "Load TEXT file for IMPORT"},
    {222, "Save current export file as:"},
    {223, "No Records in Database for print report."},
    {224, "Save tabular report file as:"},
    {225, "Save roster report file as:"},
    {226, "Database is damaged. Recover Database ?"},
    {227, "The number of records is less then 500."},
    {228, "The number of records is less then 200."},
    {229, "Select Text File for Importing into Database"},
    {230, "DataBase version is too new."},
    {231, "You are not permitted to edit record in the Bulk Mail mode."},
    {232, "Error Update DataBase"},
    {233, "The \"Always Fast Fill automatically\" option requires\nthe Last Name to be entered first. Do You wish\n to "
          "change the Field Order right now?"},
    {234, "Invalid picture file path "},
    {235, "This is Macintosh format database.\nConvert it ?"},
    {236, "Macintosh database is damaged. Please recove the database on macintosh."},
    {255, "Working..."},
    {256, "Fixing..."},
    {257, "Sorting..."},
    {258, "Copying..."},
    {259, "Closing..."},
    {260, "Merge Database..."},
    {261, "Split DataDase..."},
    {262, "Finding..."},
    {263, "Seaching..."},
    {264, "Quering..."},
    {265, "Set Categories..."},
    {266, "Reset Categories..."},
    {267, "Invert Categories..."},
    {268, "Exporting..."},
    {269, "Importing..."},
    {270, "Printing..."},
    {271, "Testing..."},
    {272, "BulkMail Sorting..."},
    {273, "BulkMail Moving..."},
    {274, "Paking..."},
    {368, "Disk is full"},

    // Document wizard: its files (1000 + n).
    {1001, "The wizard files (backdrops or templates ) is older virsion.\nCreate new ?"},
    {1002, "The wizard file (tree control) is older virsion.\nCreate new ?"},
    {1003, "Wizard file creation error. Disk write proteced."},
    {1006, "The Wizard file not contain virsion.\nCreate new wizard file?"},
    {1007, "The wizard file (tree control) is damaged.\nCreate new ?"},
};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);
