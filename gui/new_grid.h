// The dialog in which the user chooses the size of a new grid.
#pragma once

#include <fx.h>

class NewGrid : public FXDialogBox {
    FXDECLARE(NewGrid)
protected:
    NewGrid() {}
private:
    NewGrid(const NewGrid&);
    NewGrid& operator=(const NewGrid&);

    FXVerticalFrame* contents = nullptr;     // frame filling the dialog
    FXGroupBox* gridSizeGroup = nullptr;     // "Size of The Grid"
    FXHorizontalFrame* nxRow = nullptr;      // label and NX spinner
    FXHorizontalFrame* nyRow = nullptr;      // label and NY spinner
    FXSpinner* nxSpinner = nullptr;          // NX, 20..1024
    FXSpinner* nySpinner = nullptr;          // NY, 20..512
    FXButton* createButton = nullptr;        // accepts the dialog

    // One labelled spinner row of the size group.
    FXSpinner* addSizeRow(FXHorizontalFrame*& row, int labelKey, int lo, int hi, int value);

public:
    // Builds the dialog over its owner.
    explicit NewGrid(FXWindow* owner);
    // Deletes the rows, the group and the frame, then the dialog.
    virtual ~NewGrid();

    // Sets the NX spinner; the spinner clamps into 20..1024.
    void setNX(int nx);
    // Sets the NY spinner; the spinner clamps into 20..512.
    void setNY(int ny);
    // The NX spinner's value.
    int getNX() const;
    // The NY spinner's value.
    int getNY() const;
};
