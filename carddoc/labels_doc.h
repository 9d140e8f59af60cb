// CLabelsDoc: one open card design. It owns the stores of the frame object
// model (page table, frames, stories, the pasteboard list, the swap file),
// the current-page manager, the colour and font tables, the text styles,
// the text engine's context and the print settings; it keeps the page
// geometry, the general preferences it was made with, the label layout and
// the document set-up, and the file it was opened from or saved to, which
// stays open (and so locked against every other open) until the document
// goes.
//
// It is the frame model's and the tools' document (ToolDocument), the
// content frames' host and the text engine's host; it owns one tool per
// kind and the current tool. The card view hands itself in through
// SetView. The application reaches it through NewCardDocument and
// OpenCardDocument (labels_doc_registry.h).
//
// The code is split by job: members and services (labels_doc.cpp), new,
// open, save and close (labels_doc_open_save.cpp), the file
// (labels_doc_file.cpp), the pages (labels_doc_pages.cpp) and the
// preferences and window record (labels_doc_prefs.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "carddoc/card_view_services.h"
#include "carddoc/page_block.h"
#include "catalog/doc_setup_format.h"
#include "foundation/file_io.h"
#include "foundation/file_witness.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "frames/content_frame_host.h"
#include "graphics/dib_handle.h"
#include "graphics/postscript.h"
#include "records/clipboard_frames.h"
#include "records/label_stock_format.h"
#include "records/preferences_format.h"
#include "records/preferences_window.h"
#include "records/print_settings_record.h"
#include "text/text_host.h"
#include "toolbase/frame_tool.h"

class CardContextMenus;
class CaretManager;
class Dc;
class ColorTable;
class CTFileMng;
class CurrPageMng;
class DcTextMeasurer;
class FontTable;
class Dc;
class PrintManager;
class QMenu;
class QWidget;
class FrameStore;
class PageTable2;
class SharedFrameList;
class StoryStore;
class StyleSheet;
class TextContext;
class TextContextEngine;
class TextTool;
struct KeyEvent;
struct PageChoice;

// Document states.
enum : int16_t {
    kDocStateBuilt = 0,
    kDocStateNew = 1,
    kDocStateOpened = 2,
    // Added by the first view update.
    kDocStateViewed = 10,
};

// One tool per kind.
constexpr int16_t kToolCount = 20;

// ReplaceTemplateInWizard: the id names no template of the wizard.
constexpr int32_t kTemplateNotInWizard = 1234;

// Results of ReadDocumentFile besides 0 and a seek's error code.
enum : int32_t {
    kReadSwapCopyFailed = 1,
    kReadRefused = 2,
};

class CLabelsDoc : public ToolDocument, public ContentFrameHost, public TextHost, public ClipboardFrameHost {
public:
    // Builds every member; throws std::bad_alloc when one cannot be made
    // (the factories turn that into a refusal).
    CLabelsDoc();
    ~CLabelsDoc() override;
    CLabelsDoc(const CLabelsDoc&) = delete;
    CLabelsDoc& operator=(const CLabelsDoc&) = delete;

    // ---- the framework's document operations ----
    // A new document laid out with the set-up (5608 bytes; null: the
    // built-in business-card layout). False when no swap file can be made.
    bool OnNewDocument(const uint8_t* docSetup = nullptr);
    // Opens the file; false, after the message, when it cannot be opened or
    // read (the document is then unusable and is to be deleted).
    bool OnOpenDocument(const PathRecord& path);
    // Saves into path. The new contents are written beside the file and
    // replace it only when all of them are on the disk, so a save that
    // fails at any step leaves the old file as it was, and the document
    // still modified and editable. False after the message when it failed.
    bool OnSaveDocument(const PathRecord& path);
    // Before the document goes: the current tool is deactivated, auto-save
    // stopped and the window record stored (once the view had been set
    // up).
    void OnCloseDocument();
    // Asks whether to save changes; false when the user cancels or the
    // save fails.
    bool SaveModified();
    // Saves to the document's path, asking for one when it has none.
    bool DoFileSave();
    // Saves under path (null: asks for one); the document then takes it.
    bool DoSave(const PathRecord* path);
    void SetPathName(const PathRecord& path);
    const PathRecord& Path() const { return path_; }
    bool HasPath() const { return path_.name[0] != 0; }
    // The file title of the path, or "Untitled".
    std::string Title() const;
    FileHandle OpenFile() const { return file_; }

    // The first view update: applies preferences and the window record and
    // shows the first page.
    void InitialUpdate();
    int16_t State() const { return state_; }

    // ---- the file ----
    // The whole document into an open file from offset 0; the sum of the
    // error codes of all steps, 0 for success.
    int32_t WriteDocumentFile(FileHandle file, uint32_t kind);
    // 0, kReadSwapCopyFailed, kReadRefused (after its message) or the code
    // of the last seek.
    int32_t ReadDocumentFile(FileHandle file);
    // The thumbnail at the file's position: 0 when nothing was written or
    // on success, else an error code.
    int32_t WriteThumbnail(FileHandle file);

    // ---- pages ----
    int16_t GetCurrentPage();
    int16_t GetPageCount();
    // The page moved into the document's range; the facing page is none.
    int16_t ClampPageNumber(int16_t page, int16_t* out, int16_t* facing);
    void ComputePageSize();
    // The printer or the card's paper changed: the non-printing areas are
    // worked out again when next read, so that a document that is only
    // printed into a file never asks the print system for them.
    void ComputeMargins() { marginsStale_ = true; }
    // The default printer answered after the card was shown: the areas it
    // can't print are worked out again, and drawn again only where they
    // moved.
    void MeasureOnPrinterAgain();
    // Left, top, right, bottom, as the view shows them and the file keeps
    // them.
    const int32_t* NonPrintingMargins();
    // Left, top, right, bottom: how far the first card of the layout
    // reaches outside the printer's printable area.
    void ComputeNonPrintingAreas(const uint8_t* layout, int32_t* margins);
    void ResetPages(int16_t firstPage);
    void OpenPages(int16_t page, uint8_t a, uint8_t b);
    int32_t ClosePages();
    void CreateFirstPages();
    void UpdateVisiblePageOrigin();
    void UpdateScrollSizes();
    void RefreshView();
    void GetPageRect(IntRect* out) const override;

    // ---- pictures and text from outside (picture_export.cpp) ----
    // The current page drawn into a picture fitted into width x height
    // points (kind: carddoc/picture_export.h): a DibHandle for the bitmap
    // kinds, metafile bits for the metafile kind, into *out (made or
    // refilled). With actualSize a card larger than the area is drawn at
    // 100%. 0, 1 without a view to draw with, or 2 when the picture could
    // not be made.
    int32_t RenderPicture(double width, double height, int32_t kind, bool actualSize, Handle* out);
    // File > Export As Picture.
    void ExportAsPicture(QWidget* parent = nullptr);
    // File > Import Text into the text frame in edit; 1 when none is.
    int32_t ImportText(QWidget* parent = nullptr);
    // A new frame of the type on the shown page (a group in the group
    // list); null when the page has no room or the frame cannot be made.
    FrameObj* NewFrame(int16_t type) override;

    // ---- the tools: selection and dispatch ----
    // Commands 33284-33297 select tools 0-13.
    void OnToolSelect(uint32_t commandId);
    // The tools bar shows kind even when it is current already; a kind
    // without a tool changes nothing.
    void SetTool(int16_t kind, uint16_t argument);
    void UpdateToolButtons(int16_t kind);
    int16_t GetCurrentToolIndex() const { return currentTool_; }
    // A key from the view for the current tool; always false.
    bool KeyDown(const KeyEvent& key);
    // Edit codes 1 Cut, 2 Copy, 3 Clear, 4 Paste, 5 Select All.
    bool CanDoEditCommand(int16_t code);
    bool DoEditCommand(int16_t code);
    // The Text and Graphics menus' choices for the current tool. Target
    // 255 lets the modifier keys choose it.
    void SetFontSize(int16_t size);
    void SetFontStyle(int16_t bits, int16_t a, int16_t b);
    void SetCaseStyle(int16_t value);
    void SetBaselineStyle(int16_t value);
    void SetAlignment(int16_t value);
    void SetLineSpacing(int16_t value);
    void SetDatabaseField(int16_t index);
    void SetColor(int16_t value, int16_t target);
    void SetPattern(int16_t value, int16_t target);
    void SetShade(int16_t value, int16_t target);
    void SetBorderStyle(int16_t value);
    void SetLineWidth(int16_t value);
    const GraphicAttrs& CurrentGraphicAttrs() const { return graphicAttrs_; }
    // ---- the drawing tools ----
    // Puts the shape, content, barcode, hand, rotate, zoom and preview
    // tools into the table.
    void MakeDrawingTools();
    // The Frame Text tool's "Normal" style, which the Text tool takes up
    // when it follows it.
    bool FrameTextFormat(uint8_t* record288) override;
    const TextAttrs& CurrentTextAttrs() const { return textAttrs_; }

    // ---- zoom ----
    // Modes: 0 fit, 1-5 25/50/75/100/200 percent, 6 the zoom prompt, 7 the
    // zoom tool's.
    void SetZoomMode(int16_t mode, bool keepSelection);
    int32_t GetZoomPercent();
    void UpdateZoomBox(bool percentForm);
    void ScrollToKeepInView(bool keepSelection);
    int32_t DocToViewLength(int32_t v);
    double DocToViewLengthF(double v);
    int32_t DocToViewX(int32_t x);
    int32_t DocToViewY(int32_t y) { return DocToViewX(y); }
    int32_t ViewToDocX(int32_t x);
    int32_t ViewToDocY(int32_t y) { return ViewToDocX(y); }
    void DocToViewPoint(IntPoint* p);
    void ViewToDocPoint(IntPoint* p);
    void DocToViewRect(IntRect* r);
    void ViewToDocRect(IntRect* r);

    // ---- the pages shown ----
    int16_t IsFacingPage(int16_t page);
    void GoToPage(int16_t page);
    void UpdatePageBar();
    // The view's painting: background, frames, guides and non-printing
    // areas.
    void DrawPage(Dc* dc);
    void DrawPageBackground(Dc* dc);
    void DrawFrameLayer(Dc* dc, bool back);
    void DrawGuidesAndAreas(Dc* dc, bool clip);
    void RepaintBackground();
    void DrawAllFrames();
    bool ShowsNonPrintingAreas() const { return display_[4] != 0; }
    void SetShowNonPrintingAreas(bool on) { display_[4] = on ? 1 : 0; }
    bool SnapsToGuides() const { return display_[2] != 0; }
    void SetSnapToGuides(bool on) { display_[2] = on ? 1 : 0; }
    // A frame off the shown page and out of the frame store.
    void DeleteFrame(FrameObj* frame) override;
    bool HasRoom();

    // ---- set-up ----
    void ApplyDocSetup(const uint8_t* layout);
    void GetLabelLayout(uint8_t* out) const;
    const uint8_t* LabelLayout() const { return labelLayout_; }
    const uint8_t* DocSetupBlock() const { return docSetup_; }
    PageBlock& PageGeometry() { return pageBlock_; }
    // The page set-up used for what the label layout leaves open
    // (orientation, paper), kept with the print settings in the document
    // file so that the card prints on it after it is opened again.
    void GetAlternatePaper(uint32_t* orientation, uint32_t* paper) const
    {
        PrintSettingsOwnPage(printSettings_, orientation, paper);
    }
    void SetAlternatePaper(uint32_t orientation, uint32_t paper)
    {
        SetPrintSettingsOwnPage(&printSettings_, orientation, paper);
    }
    // Rebuilds the pages and the view after the layout changed, and marks
    // the document modified.
    void AfterDocSetup();
    // The Document Setup command: the layout in the Label Type dialog.
    void DoDocumentSetup();
    // File > Print Setup in a card window: the printer starts from the
    // card's paper and orientation, and what the layout leaves open the
    // card keeps from the printer's choice as its own.
    void OnFilePrintSetup();
    // The card's page as the page set-up dialog shows it: what the layout
    // fixes, marked fixed, and the card's own choice for the rest.
    PageChoice PageSetupChoice() const;

    // ---- wizard designs: templates, backdrops, layouts
    //      (labels_doc_templates*.cpp) ----
    // Every frame of the shown pages goes, the set-up's label layout is
    // applied and the document counts as unchanged.
    void ClearAndApplySetup(const uint8_t* record);
    // The set-up's template and backdrop onto the page, its design words
    // into the page options; whole also takes its field formats, printable
    // backdrop flag and layout, and the record becomes the document's
    // set-up. The sum of the template's and the backdrop's results.
    int32_t ApplyLayoutAndDesign(const uint8_t* record, bool whole);
    // The set-up's 21 field sample texts (null: the document's own set-up)
    // become the program's field formats.
    void InstallFieldFormats(const uint8_t* record);
    // The wizard's template id onto the page, replacing all but the
    // backdrop; id 0 with clear removes every frame. 0 or the code.
    int32_t LoadWizardTemplate(int32_t id, bool clear);
    // Item kind of the wizard's backdrop group id as the page's backdrop;
    // id 0 does nothing. 0, 1 for a picture of another type, or the code.
    int32_t LoadWizardBackdrop(int32_t id, int32_t kind);
    // The page's backdrop frame set up as a backdrop; with create a new
    // picture frame when there is none. Null without one.
    FrameObj* GetOrCreateBackdropFrame(bool create);
    // The backdrop frame changed: the document is modified and the page
    // shows it.
    void ShowChangedBackdrop(FrameObj* frame);
    // The frames of a template body (count, type and frame, fonts) replace
    // those of the page, the backdrop excepted. 0 or the code.
    int32_t ApplyTemplateBody(Handle body);
    int32_t InsertTemplateFrames(Handle body);
    // The page's frames, the backdrop left out, and the font table as a
    // template body into *body (made or refilled). 0 or the code.
    int32_t BuildTemplateBody(Handle* body);
    // The card without its backdrop as enhanced-metafile bits of the card's
    // size into *out (made or refilled); the renderer's result.
    int32_t RenderWizardPreview(Handle* out);
    // The page as a template file at path under name. 0 or the code.
    int32_t WriteTemplateFile(const PathRecord& path, const char* name);
    // The page as a new template of the wizard, its design registered;
    // the new id in *id. 0 or the code.
    int32_t AddTemplateToWizard(const char* name, int32_t* id);
    // A template's file header (name, card size), and its body and preview
    // in new Handles.
    int32_t BuildTemplateParts(const char* name, uint8_t* header, HandleOwner* body, HandleOwner* preview);
    // The design of a new template of the wizard joins the wizard's tree
    // under the category of the document's layout.
    int32_t RegisterTemplateDesign(const char* name, int32_t id);
    // The page replaces the wizard's template id under its old file name.
    // 0, kTemplateNotInWizard or the code.
    int32_t ReplaceTemplateInWizard(int32_t id);
    // A template file's frames replace the page's. 0 or the code.
    int32_t LoadTemplateFromPath(const PathRecord& path);
    // The 14-word print options of the page shown.
    void GetPageOptions(uint8_t* block);
    // The status bar's Document and Active Template Name panes: the label
    // layout's name, and the name of the wizard's template the page shown
    // was made from (Windows-1252).
    std::string DocumentNameText() const;
    std::string TemplateNameText();
    void SetPageOptions(const uint8_t* block);
    // The commands of the Templates menu and the backdrop, in master mode.
    bool CanSaveTemplate();
    void SaveTemplate(bool toFile, bool toWizard, bool askName, QWidget* parent = nullptr);
    void LoadTemplateFromFile(QWidget* parent = nullptr);
    bool CanChangeTemplateInWizard();
    void ChangeTemplateInWizard(QWidget* parent = nullptr);
    // Enabled state and check of Set As BackDrop.
    bool CanToggleBackdrop(bool* checked);
    void ToggleBackdrop();
    void ChangeBackdropPicture(QWidget* parent = nullptr);
    void LoadBackdropFromWizard(QWidget* parent = nullptr);
    // A backdrop item file of the wizard as the page's backdrop; 0, 1 when
    // it holds no picture, or the code.
    int32_t LoadBackdropFromPath(const PathRecord& path);
    void RegisterBackdropPicture(QWidget* parent = nullptr);
    // The wizard again on this document, from its own layout and design.
    void ChangeLayoutAndDesign(QWidget* parent = nullptr);
    // Edit > Wizard Setup..., in master mode.
    void RunWizardSetup(QWidget* parent = nullptr);
    // The two flags a backdrop gets (0 the first, 1 the second) on the
    // Object tool's one selected frame.
    bool CanToggleFrameFlag(int32_t which, bool* checked);
    void ToggleFrameFlag(int32_t which);
    // View > Printable Backdrop.
    bool CanTogglePrintableBackdrop(bool* checked);
    void TogglePrintableBackdrop();
    // View > Front Page (1) and Back Page (2).
    void ShowSide(int16_t page);
    // The View menu's page items for the document's sides: 1 without a
    // menu, else 0.
    int32_t BuildPageMenu(QMenu* menu);
    // In master mode, "Wizard Setup..." under Edit and the Templates popup
    // under File of the menu bar (a QMenuBar or QMenu), once.
    void BuildTemplatesMenu(QWidget* mainMenu);
    // The commands above as the card window sends them; false for another
    // id.
    bool OnTemplateCommand(uint32_t id);
    bool OnUpdateTemplateCommand(struct CmdUI& ui);

    // ---- sheets and printing (labels_doc_sheet.cpp) ----
    // One printed page of a sheet: the design page that belongs to it, each
    // card cell from the first-card position on filled with the next record
    // and clipped to its cell, at the device's resolution. firstCard is the
    // 1-based column and row; grid the cells already used (0 = used), obeyed
    // when useGrid is set; pageOverride 0 prints the document's pages, else
    // only that page.
    void DrawSheet(Dc* dc, int16_t xResolution, int16_t yResolution, int16_t printedPage, int16_t outputMode,
                   int16_t skippedCells, const int32_t firstCard[2], Handle grid, int32_t firstRecord,
                   int32_t lastRecord, int16_t useGrid, int16_t pageOverride);
    // The crop marks of one cell (view units), when the page asks for them;
    // clip in device units or null.
    void DrawSheetCell(Dc* dc, const IntRect& cell, const IntRect* clip, int16_t row, int16_t column);
    // A cell of the sheet in document units (0-based column and row), cut
    // to whole points for the screen.
    void GetCellRect(IntRect* out, int16_t column, int16_t row);
    // Where a cell's top left corner is on the sheet, in points, as exactly
    // as the layout gives it.
    void GetCellOrigin(double* x, double* y, int16_t column, int16_t row);
    // Where the centred card grid starts on the paper of the job (whole
    // points), kept in the label layout.
    void SetCentringOffsets(int32_t left, int32_t top);
    // The print command's worker: the print job for the page shown, then
    // the page shown again as it was. owner is the window the job's
    // dialogs belong to. The print manager's result; the pages' status
    // when they cannot be closed.
    int32_t PrintDocument(QWidget* owner);
    PrintManager& Printer();
    // Set while the Print Preview dialog shows the document.
    void SetPrintPreview(bool on) { printPreview_ = on; }

    // ---- preferences and the window record ----
    uint8_t* GeneralPrefs() { return general_; }
    uint32_t GeneralPref(size_t offset) const;
    void ApplyPreferences(bool reloadPages);
    void SetRulerUnits(int16_t horizontal, int16_t vertical);
    void ReadDocWndPref(const PathRecord& path);
    void WriteDocWndPref(const PathRecord& path);
    // 0 when a record was applied, 1 when there was none.
    uint32_t ApplyDocWndPref();
    const DocWndPref& WindowRecord() const { return window_; }

    // ---- members ----
    ColorTable& Colours() { return *colours_; }
    FontTable& Fonts() { return *fonts_; }
    StyleSheet& Styles() { return *styles_; }
    PrintSettingsRecord& PrintSettings() { return printSettings_; }
    TextContext& Text() { return *textContext_; }
    void SetView(CardViewServices* view);
    // Opened from a file or a folder the user may not write to.
    bool ReadOnly() const { return readOnly_; }
    // Opened although reading found it damaged (the user was told): it may
    // be looked at and mended, but what it holds is not what was saved.
    bool FoundDamaged() const { return foundDamaged_; }
    void SetShowGuides(bool on) { display_[1] = on ? 1 : 0; }
    // The page drawing clips to the page region; nothing is drawn while
    // drawing is disabled.
    bool ClipsPageDrawing() const { return clipPage_ != 0; }
    bool DrawingEnabled() const { return drawingEnabled_ != 0; }
    void SetDrawingEnabled(bool on) { drawingEnabled_ = on ? 0xFF : 0; }

    // ---- FrameDocument ----
    CTFileMng* SwapFile() override { return swap_.get(); }
    PageTable* Pages() override;
    FrameStore* Frames() override { return frames_.get(); }
    StoryStore* Stories() override { return stories_.get(); }
    SharedFrameList* SharedFrames() override { return shared_.get(); }
    int16_t FirstPageNumber() override { return pageBlock_.firstPage; }
    void GetPageZoom(int16_t* mode, int16_t* numerator, int16_t* denominator) override;
    bool SwitchToPage(int16_t number) override;
    void LayOutIntoFrame(FrameObj* frame, const IntRect& rect, TextPosition start, TextPosition* end) override;
    FrameView* View() override;
    CurrPageMng* PageManager() override { return manager_.get(); }
    void GetPageSlotRect(int16_t slot, IntRect* r) override;
    ColorRef GetTint(uint8_t index, uint8_t percent) override;
    bool ShowGuides() override { return display_[1] != 0; }
    uint8_t PageSetByte() override { return display_[3]; }
    bool GuidesBehindFrames() override { return GeneralPref(kPrefGuidesInBack) != 0; }
    bool ImmediateRedraw() override { return flagByte_ != 0; }
    bool PageZoomFlag() override { return GeneralPref(kPrefSavePageScale) != 0; }
    bool IsModified() override { return modified_; }
    void SetModified(bool on) override { modified_ = on; }
    // Every tool hears of the pages shown and left.
    void PagesOpened() override;
    void PagesClosing() override;
    // The text of a chain flowed anew: the page shown is drawn again.
    void RedrawAfterChainChange() override { RefreshView(); }
    // The Star Info dialog over the card view.
    bool RunStarInfo(StarParams* star, const FrameGeometry& view) override;

    // ---- ToolDocument ----
    CardViewServices* CardView() override { return view_; }
    uint8_t ViewClickState() override;
    void SetViewCursor(int32_t cursor) override;
    // The Text tool's menu while it is current, else the Object tool's menu
    // for its selection (card_context_menus.h), over the card view.
    void ShowContextMenu(const IntPoint& viewPoint) override;
    // The Undo item asks the undo owner whenever it is shown or its key is
    // pressed, so nothing is kept here.
    void UndoAvailable() override {}
    int16_t CurrentToolIndex() override { return currentTool_; }
    FrameTool* ToolOfKind(int16_t kind) override;
    // The tool of the kind becomes the current one (nothing when there is no
    // such tool).
    void SelectTool(int16_t kind) override;
    TextContext* DocumentTextContext() override { return textContext_.get(); }
    CaretManager* Caret() override { return caret_.get(); }
    void SetGraphicAttrs(const GraphicAttrs& attrs) override { graphicAttrs_ = attrs; }
    // The text bar of the program shows them (font, size, style,
    // alignment, spacing) while the document's window is the active one.
    void SetTextAttrs(const TextAttrs& attrs) override;
    // Bars 129-134.
    void SetBarItemState(int16_t bar, bool on) override;
    bool BarItemState(int16_t bar) const;

    // ---- ContentFrameHost ----
    bool LookupFont(int16_t fontId, FontSpec* out) override;
    int32_t FontIdFor(const FontSpec& face) override;
    bool InPrintPreview() override { return printPreview_; }
    bool PrintPlaceholders() override { return printPlaceholders_ != 0; }
    bool PlaceholderText() override { return placeholderText_ != 0; }
    // The escape of the PostScript job a sheet is being drawn into; null
    // otherwise (EPS pictures then print through their rendering).
    PassThroughSink* PostScriptSink() override { return postScriptSink_.get(); }
    FrameObj* TextToolFrame() override;
    TextFrameEngine* TextEngine() override;

    // ---- TextHost ----
    TextPreferences Preferences() override;
    bool GetFontSpec(int16_t font, FontSpec* out) override;
    bool StoredFontSpec(int16_t font, FontSpec* out) override;
    ColorRef TintColour(int16_t index, int16_t shade) override;
    void PageNumberFor(FrameObj* frame, int32_t* number, bool* realPage) override;
    void ContinuationSettings(bool* first, bool* second, int16_t* count) override;
    // The program-wide switch of the field names (database/field_table.h).
    bool ShowsFieldNames() override;
    void SetPageChangeQuiet(bool on) override { pageChangeQuiet_ = on; }
    void SetModified() override { modified_ = true; }
    void Zoom(int32_t* numerator, int32_t* denominator) override;
    Dc* ViewDc() override;
    bool IsScreenTarget() override;
    bool ScrollToShowPoint(const IntPoint& viewPoint) override;
    QWidget* ViewWidget() override;
    bool IsTextToolCurrent() override { return currentTool_ == kToolText; }
    FrameObjText* EditFrame() override;
    void BindEditor(FrameObjText* frame) override;
    void SaveUndo() override;
    void HideCaret() override;
    void ShowCaret() override;
    std::array<int16_t, kAttributeCount> TypingAttributes() override;
    void SetCurrentFormat(const uint8_t* record288, int32_t mergeFieldColumn) override;
    uint8_t ClickState() override;
    void RedrawPage() override { RefreshView(); }
    // The frame's lines, or its whole text, are painted again on the view
    // as soon as the engine lets the program go back to its events.
    void LinesChanged(FrameObjText* frame, int32_t first, int32_t last) override;
    void FrameTextChanged(FrameObjText* frame) override;
    void ClearUndo() override;
    void RestartCaret() override;
    void SelectAll(bool on, bool redraw) override;
    void SetTypingAttribute(int rank, int16_t value) override;
    void PublishTextAttributes() override;
    ParaFormat ParagraphAttributes() override;
    TextClipboard* Clipboard() override;

    // ---- the Object tool's selection and the Object menu ----
    // While the Object tool is current its selection; while another tool
    // is, what the Object tool held when it was left.
    int16_t SelectionCount() override;
    FrameObj* SelectedFrame(int16_t i) override;
    // Only with the Object tool current.
    void DeleteSelection();
    void GroupSelection();
    void UngroupSelection();
    // Copies of the selected frames, offset by (dx, dy) document units,
    // become the selection.
    void DuplicateFrames(int32_t dx, int32_t dy);
    void BringToFront();
    void SendToBack();
    void ShuffleForward();

    // ---- ClipboardFrameHost ----
    void ClearFrameSelection() override;
    void SelectFrame(FrameObj* frame) override;
    void FinishFramePaste() override;
    void RecordPastedFrames() override;
    IntPoint PastePoint() override;
    IntRect VisibleArea() override;
    int32_t WidthOfW() override;
    QImage PictureOfFrames(FrameObj* const* frames, int16_t count, const IntRect& bounds) override;
    std::string TextOfFrames(FrameObj* const* frames, int16_t count) override;
    bool SetFramePicture(FrameObj* frame, const QImage& picture) override;
    bool FillNewTextFrame(FrameObj* frame, TextBuffer* paragraphs) override;
    void AddFontsOfFrames(FrameObj* const* frames, int16_t count, CopiedFonts* fonts) override;
    void AdoptFontsOfFrame(FrameObj* frame, const CopiedFonts& fonts) override;
    // RedrawPage: the one of TextHost serves both.

    // ---- dialog workers ----
    // Each fills its dialog's record from the document or the Object tool's
    // selection, runs the dialog (carddoc/worker_dialog.h) and applies the
    // answer; Cancel changes nothing.
    // The Other... items: target 0 border or line, 1 fill, 3 text.
    void DoOtherShade(uint8_t target);
    void DoOtherWidth();
    void DoOtherSize();
    // The selection's information, by the kind of its frames.
    void DoObjectInfo() override;
    void DoObjectInfoDialog();
    void DoPictureInfo();
    void DoTextBoxInfo();
    void DoGroupInfo();
    void DoLineInfo();
    void DoFrameInfo();
    void DoFillInfo();
    void DoTextRunaround();
    void DoAlignObjects();
    // A selected star's or power text's own dialog; the items are enabled
    // exactly when there is one to open.
    bool CanOpenStarInfo();
    bool CanOpenPowerTextInfo();
    void OnStarInfo();
    void OnPowerTextInfo();
    // Guide spacing and the guide flags; the ruler units; the page shown.
    void DoGuideSettings();
    void DoRulerSettings();
    void DoGotoPage();
    // The Text menu's Character Info, Paragraph Info and Tabs. Character
    // Info works on the Text tool's text or on the Object tool's frames;
    // the other two need the Text tool (Tabs a frame in edit as well).
    void DoCharacterInfo();
    void DoParagraphInfo();
    void DoTabs();
    // The records of barcodes, quick cards and counters: the selected
    // frames' when the selection is of the worker's kind, else the placing
    // tool's default, after which that tool is current.
    void DoBarcodeInfo() override;
    void DoCounterInfo() override;
    void DoQuickCardSpec() override;
    void DoQuickCardInfo() override;
    // Edit > Find/Replace: the document's one modeless dialog, made on
    // first use and brought forward after; it goes with the document.
    void DoFindReplace();
    class CDlgFindReplace* FindReplaceDialog() const;
    // Preferences and the colour table; the default card values of the
    // database fields.
    void DoPreferences();
    void DoCreateColor();
    void DoDefaultCardInfo();
    // View > Insert Page and Delete Page, and the page operations they end
    // in. InsertPages puts count pages after the page numbered position (at
    // the start for a number before the first); DeletePages refuses a range
    // outside the document and leaves at least one page.
    void DoInsertPage();
    void DoDeletePages();
    void InsertPages(int16_t position, int16_t count, int16_t kind, int32_t result);
    void DeletePages(int16_t from, int16_t to);
    // The rulers' zero (document units): the card's corner moved by the
    // origin the rulers keep (none without a view).
    double GetRulerOriginX();
    double GetRulerOriginY();
    // The top left corner of the card shown first, in document units.
    IntPoint CardCorner() const;

    // ---- the card window's commands ----
    // True when the id is one of the document's commands (carried out, or
    // its item's state set).
    bool OnCommand(uint32_t id);
    bool OnUpdateCommand(struct CmdUI& ui);
    // The font of the program's font list, by its face record, for the current
    // tool (the font menu's items and the text bar's font combo).
    void SetFontByName(const FontSpec& face);
    // The current font's index in the program's font list; -1 when it is
    // not there or no font is current.
    int32_t CurrentFontListIndex();
    // The Undo item's text: the undo owner's, else "Can't Undo".
    std::string UndoMenuText();
    // The conditions the items are enabled by: the Object tool current with
    // a selection; the type its frames share (-1 without one); a selection
    // of frames with a font of their own; the Text tool in a frame; the
    // font items on.
    bool HasObjectSelection();
    int16_t SelectionFrameType();
    bool HasFieldSelection();
    bool IsTextEditing();
    bool FontItemsOn();

private:
    // The Object tool while it is current with a selection, else null.
    class SelectionTool* ObjectSelection();
    // The worker, print, placing and font-name commands
    // (labels_doc_commands_workers.cpp), asked before the rest of the map.
    bool OnWorkerCommand(uint32_t id);
    bool OnUpdateWorkerCommand(struct CmdUI& ui);
    // Bold, Italic and Underline: the bit turned over on the document's
    // style, the mask telling the tool which way.
    void ToggleStyleBit(int16_t bit);
    // The Object tool while its selection's frames share one of the types.
    class SelectionTool* SelectionOfType(std::initializer_list<int16_t> types);
    // After Cancel: a placing tool of the kind that is current gives way to
    // the Object tool.
    void PlacingCancelled(int16_t kind);
    // A page set-up's answer for what the layout leaves open becomes the
    // card's own page (orientation 1 portrait, 2 landscape, 0 none; paper
    // an entry of the paper table), marking the card modified when it
    // changed.
    void KeepOwnPage(const PageChoice& page, uint32_t orientation, uint32_t paper);

public:
private:
    // The parts of a save between choosing the file and installing it.
    bool WriteReplacement(const PathRecord& target, PathRecord* written);
    // Why the document cannot be saved under target (its folder or, for
    // its own file opened read-only, the file may not be written), or
    // empty when it can.
    std::string CannotWriteReason(const PathRecord& target) const;
    // Room for the working copy of a card of bytes being opened: when the
    // disk beside it is full, the copy goes to the temporary folder and
    // the card opens read-only, saying why; false, after a message naming
    // the full disks, when there is no room there either.
    bool MakeSwapRoom(uint32_t bytes);
    bool InstallReplacement(const PathRecord& written, const PathRecord& target, bool sameFile);
    // Reopens the page noted before a save and marks every frame for a
    // full redraw.
    void ReopenAfterSave(int16_t page);
    TextTool* Tool() const;

    // Front to back as the document builds them.
    PathRecord path_{};
    FileHandle file_ = kNoFile;
    // The card's file as it was opened or last saved here: a save over it
    // first asks when another program has changed or replaced it since.
    FileWitness fileSeen_{512};
    // True when target is the card's own file and another program has
    // written it, or put another file in its place, since.
    bool ChangedElsewhere(const PathRecord& target) const;
    bool readOnly_ = false;
    bool foundDamaged_ = false;
    // Read-only because its disk had no room when it was opened.
    bool diskFull_ = false;
    int16_t state_ = kDocStateBuilt;
    // A flag the view and selection tool read, show guides, snap to guides,
    // the page flag used when pages are opened, show non-printing areas,
    // two pages shown at once, two more.
    uint8_t display_[8] = {1, 1, 0, 0, 1, 0, 0, 0};
    PageBlock pageBlock_;
    bool marginsStale_ = false;
    uint8_t general_[kGeneralPrefsSize] = {};
    uint8_t labelLayout_[kLabelTypeSize] = {};
    uint8_t docSetup_[kDocSetupSize] = {};
    // The template id the template pane showed last, and its name: the
    // wizard's list is read again only when the page shows another one.
    uint32_t shownTemplateId_ = 0;
    std::string shownTemplateName_;
    std::unique_ptr<CTFileMng> swap_;
    std::unique_ptr<CurrPageMng> manager_;
    std::unique_ptr<PageTable2> pages_;
    std::unique_ptr<SharedFrameList> shared_;
    std::unique_ptr<ColorTable> colours_;
    std::unique_ptr<StyleSheet> styles_;
    std::unique_ptr<FrameStore> frames_;
    std::unique_ptr<StoryStore> stories_;
    std::unique_ptr<FontTable> fonts_;
    PrintSettingsRecord printSettings_;
    // Made with the first print; shared ownership lets the document's own
    // file go without knowing the print manager.
    std::shared_ptr<PrintManager> printManager_;
    // Set while a sheet is drawn into a job that takes PostScript.
    std::unique_ptr<PassThroughSink> postScriptSink_;
    std::unique_ptr<DcTextMeasurer> measurer_;
    std::unique_ptr<TextContext> textContext_;
    std::unique_ptr<TextContextEngine> textEngine_;
    std::unique_ptr<CaretManager> caret_;
    DocWndPref window_;
    int16_t currentTool_ = -1;
    std::array<std::unique_ptr<FrameTool>, kToolCount> tools_;
    GraphicAttrs graphicAttrs_;
    TextAttrs textAttrs_;
    uint32_t barStates_[6] = {};
    CardViewServices* view_ = nullptr;
    uint8_t flagByte_ = 1;
    uint8_t clipPage_ = 1;
    uint8_t drawingEnabled_ = 0xFF;
    bool printPreview_ = false;
    // A picture frame whose picture is missing prints its placeholder; the
    // picture frames show the three-line placeholder. No command sets them.
    uint8_t printPlaceholders_ = 0;
    uint8_t placeholderText_ = 0;
    bool pageChangeQuiet_ = false;
    // Off while a printed sheet switches to its page: each card of it lays
    // its text out for its own record before anything reads the layout.
    bool flowTextOnOpen_ = true;
    bool modified_ = false;
    // Made at the first right click.
    std::unique_ptr<CardContextMenus> contextMenus_;
    // Find/Replace's hold on the document (labels_doc_workers_edit.cpp).
    struct FindReplaceLink;
    struct FindReplaceLinkDeleter {
        void operator()(FindReplaceLink* link) const;
    };
    std::unique_ptr<FindReplaceLink, FindReplaceLinkDeleter> findReplace_;
};

// The page thumbnail of a closed document file into out (a new picture the
// caller frees). 0 on success; 1 when the file cannot be opened, is no
// undamaged card document of this version or has no thumbnail; else the
// reader's code.
int32_t ReadDocumentThumbnail(const PathRecord& path, DibHandle* out);
