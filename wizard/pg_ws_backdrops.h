// CPgWS_Backdrops: the "Edit Backdrop List" page. It lists the backdrop
// groups of the backdrop list, each shown as one backdrop named after its
// first item, and the items of the selected group as its subtypes
// (colours). Pictures are imported as new backdrops or subtypes; entries
// are renamed, dragged into another order and deleted here, and the
// selected subtype is previewed.
#pragma once

#include <cstdint>

#include "foundation/path_record.h"
#include "wizard/pg_ws.h"

class CSmartEdit;
class CSmartListbox;
struct SmartListChange;

class CPgWS_Backdrops : public CPgWS {
public:
    CPgWS_Backdrops();

    void OnPageShown(bool shown) override;

    CSmartListbox* Backdrops() const { return backdrops_; }
    CSmartListbox* Subtypes() const { return subtypes_; }
    CSmartEdit* BackdropName() const { return backdropName_; }
    CSmartEdit* SubtypeName() const { return subtypeName_; }

    // The handlers.
    void OnBackdropSelected();
    void OnSubtypeSelected();
    void OnBackdropNameEdited();
    void OnSubtypeNameEdited();
    void OnAddBackdrops();
    void OnDeleteBackdrops();
    void OnAddSubtypes();
    void OnDeleteSubtypes();
    void OnListChanged(const SmartListChange& change, CSmartListbox* list);

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    // Reads the pictures the user chooses into the backdrop store (each a
    // backdrop of its own when newGroups is set, else subtypes of *group)
    // and lists each that converts; selects those that came in. False when
    // none did.
    bool AddPictures(CSmartListbox* list, int32_t* group, bool newGroups);
    void FillBackdropList();
    void FillSubtypes();
    void UpdateButtons();
    int32_t SelectedGroup() const;
    void RereadBackdropName();

    CSmartListbox* backdrops_ = nullptr;
    CSmartListbox* subtypes_ = nullptr;
    CSmartEdit* backdropName_ = nullptr;
    CSmartEdit* subtypeName_ = nullptr;
    PathRecord lastFolder_{};
};
