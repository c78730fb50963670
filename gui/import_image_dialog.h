// The size of the grid a picture becomes: cells across and up, at most
// 1024 x 512 as for New Grid, the second following the first in the picture's aspect while
// "Keep the picture's aspect" is checked.
#pragma once

#include <fx.h>

class ImportImageDialog : public FXDialogBox {
    FXDECLARE(ImportImageDialog)
protected:
    ImportImageDialog() {}
private:
    ImportImageDialog(const ImportImageDialog&);
    ImportImageDialog& operator=(const ImportImageDialog&);

    FXSpinner* acrossSpinner = nullptr;
    FXSpinner* upSpinner = nullptr;
    FXCheckButton* keepAspect = nullptr;
    FXint imageWidth = 1;
    FXint imageHeight = 1;

public:
    enum { ID_ACROSS = FXDialogBox::ID_LAST, ID_UP, ID_LAST };
    static constexpr int minCells = 3;
    static constexpr int maxAcross = 1024;
    static constexpr int maxUp = 512;

    // Opens on min(width, 120) cells across and the up that keeps the aspect.
    ImportImageDialog(FXWindow* owner, FXint width, FXint height);

    int across() const { return acrossSpinner->getValue(); }
    int up() const { return upSpinner->getValue(); }
    // As the user would type them; the other follows while the aspect is kept.
    void setAcross(int cells);
    void setUp(int cells);
    void setKeepAspect(bool keep) { keepAspect->setCheck(keep); }

    long onCmdAcross(FXObject*, FXSelector, void*);
    long onCmdUp(FXObject*, FXSelector, void*);
};
