// The panel at the right of the picture open dialogs: the picture of the
// file the cursor is on and the "Show preview" box that hides it. The box
// and the picture shown are kept in the dialog's settings block, which the
// preview reads.
#pragma once

#include <QString>
#include <QWidget>

struct OpenPictureSettings;
class CPicturePreviewWnd;
class QCheckBox;
class QFileDialog;

class PicturePreviewPanel : public QWidget {
public:
    explicit PicturePreviewPanel(OpenPictureSettings* settings);

    // Puts the panel at the right of the desktop dialog's own layout.
    void AttachTo(QFileDialog* dialog);

    // Shows the file the cursor is on now; the picture already shown is
    // not read again.
    void ShowFile(const QString& path);
    void Redraw();

    // Lets go of the picture when the dialog is done.
    void FreePicture();

private:
    OpenPictureSettings* settings_;
    CPicturePreviewWnd* preview_;
    QCheckBox* show_;
};
