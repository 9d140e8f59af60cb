// The tiers of the bulk-mail presort, worked out over the keys of a
// selection in one pass per tier.
//
// Keys are in bulk-mail form (tier, ZIP code, state). A ZIP group of ten
// or more records under one 5-digit prefix gets tier '0'; of the rest,
// ten or more under one 3-digit prefix get tier '1'; in Standard (A) mode
// the rest go by state: ten or more of one state get tier '2' with the
// state moved before the ZIP code. Everything else gets tier '3'. This is
// what a walk that starts over after every group gives, without the
// starting over.
#pragma once

#include <string>
#include <vector>

// mode 1 First Class, 2 Standard (A). Rewrites the keys in place.
void AssignBulkMailTiers(std::vector<std::string>& keys, int mode);
