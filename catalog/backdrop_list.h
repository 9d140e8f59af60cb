// The backdrop list "Wiz_Back": one 'BkIn' record per backdrop group,
// holding the group's items of 264 bytes (layout in
// catalog/wizard_list_format.h), and the item files they name in the
// "Backdrops" folder. Groups are named by their record's id, items by
// their number in the group, from 1.
//
// Each operation opens the list and closes it again: for reading to read,
// for reading and writing to change it. A record whose item count does
// not fit its size gives kResBadFile and is left as it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "graphics/dib_handle.h"

int32_t GetGroupItemCount(int32_t group, int32_t* count);
// Copies item n (kBkItemSize bytes); 1 when n is out of range.
int32_t GetBackdropItem(int32_t group, int32_t n, uint8_t* item);
// Group 0 makes a new group (next free id, 1 for the first) holding the
// item as number 1; otherwise n in 1..count replaces item n and any other
// n appends. The item's group and number fields are set, and group and n
// receive them.
int32_t PutBackdropItem(int32_t* group, int32_t* n, const uint8_t* item);
// n = 0 removes the group; else item n goes and the rest are renumbered.
int32_t RemoveBackdropItem(int32_t group, int32_t n);
// from = 0 moves the group to position to among the groups; else item
// from moves to position to and all are renumbered.
int32_t MoveBackdropItem(int32_t group, int32_t from, int32_t to);
// Removes item n (n = 0: every item, last first, then the group) and
// then each removed item's file.
int32_t DeleteBackdrop(int32_t group, int32_t n);
// The first item of every group, one after the other, and the groups'
// ids (u32, little-endian), in list order.
int32_t ListBackdropGroups(Handle items, Handle ids, int32_t* count);
// A group as the lists show it: its first item's display name
// (Windows-1252) and its id.
struct BackdropGroupEntry {
    std::string name;
    uint32_t id = 0;
};
// Every group in list order; none where the list can't be read.
std::vector<BackdropGroupEntry> BackdropGroupEntries();
// The display names of the group's items, 64 bytes each.
int32_t ListGroupItemNames(int32_t group, Handle names, int32_t* count);
// Converts a picture file into a new item file "bckpNNN.bp" and records
// it with PutBackdropItem (group and n as there). A null or empty name
// takes the source's name. 1 when the picture does not convert.
int32_t ReadBackdropFile(const PathRecord* source, const char* name, int32_t* group, int32_t* n, uint8_t* item);
// The item file of an item; kWizMissing when the item's name is not a
// plain file name.
int32_t BackdropItemFilePath(const uint8_t* item, PathRecord* path);
// Item n's picture, or null.
DibHandle GetBackdropPicture(int32_t group, int32_t n);
// Item n's picture in data: for kind 1 a DibHandle, for kinds 4 and 5 the
// body as it is stored. Other kinds fail.
int32_t GetBackdropPictureData(int32_t group, int32_t n, uint32_t* kind, Handle* data);

// The display name of an item.
void BackdropItemName(const uint8_t* item, char* buffer, int32_t size);
