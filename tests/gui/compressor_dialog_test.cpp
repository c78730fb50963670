// The compressor dialog on a real display: its controls follow the choice,
// OK fills the options, Cancel leaves them alone.
#include <gtest/gtest.h>

#include <fx.h>

#include "gui/compressor_dialog.h"

namespace {
// Sends commands to the modal dialog from a timeout, as a user would.
class DialogDriver : public FXObject {
    FXDECLARE(DialogDriver)
public:
    enum { ID_DRIVE = 1, ID_LAST };
    FXSelector pick = 0;         // compressor command to send first, if any
    FXSelector finish = 0;       // ID_ACCEPT or ID_CANCEL
    bool sawDialog = false;

    // Chooses and closes the modal dialog.
    long onDrive(FXObject*, FXSelector, void*)
    {
        FXWindow* modal = FXApp::instance()->getModalWindow();
        sawDialog = modal != nullptr;
        if (!modal)
            return 1;
        if (pick)
            modal->handle(this, FXSEL(SEL_COMMAND, pick), nullptr);
        modal->handle(this, FXSEL(SEL_COMMAND, finish), nullptr);
        return 1;
    }
};

FXDEFMAP(DialogDriver) DialogDriverMap[] = {
    FXMAPFUNC(SEL_TIMEOUT, DialogDriver::ID_DRIVE, DialogDriver::onDrive),
};
FXIMPLEMENT(DialogDriver, FXObject, DialogDriverMap, ARRAYNUMBER(DialogDriverMap))

class CompressorDialogTest : public ::testing::Test {
protected:
    static FXApp* app;

    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_compressor_dialog";
        static char* argv[] = {name, nullptr};
        app = new FXApp("test_compressor_dialog", "kelvo");
        app->init(argc, argv);
        app->create();
    }

    // Runs the dialog with a driver that acts after 200 ms.
    static bool runDialog(DialogDriver& driver, CompressOptions& options)
    {
        app->addTimeout(&driver, DialogDriver::ID_DRIVE, 200);
        return chooseCompressorWithDialog(options);
    }
};

FXApp* CompressorDialogTest::app = nullptr;

// The radio buttons of the compressor group, in order.
std::vector<FXRadioButton*> radioButtons(CompressorDialog& dialog)
{
    std::vector<FXRadioButton*> buttons;
    FXWindow* group = dialog.getFirst()->getFirst();
    for (FXWindow* child = group->getFirst(); child; child = child->getNext())
        if (FXRadioButton* radio = dynamic_cast<FXRadioButton*>(child))
            buttons.push_back(radio);
    return buttons;
}

// The quality spinner.
FXSpinner* qualitySpinner(CompressorDialog& dialog)
{
    FXWindow* row = dialog.getFirst()->getFirst()->getNext();
    return dynamic_cast<FXSpinner*>(row->getFirst()->getNext());
}
}  // namespace

TEST_F(CompressorDialogTest, ControlsFollowTheChoice)
{
    CompressOptions start;
    start.quality = 70;
    CompressorDialog dialog(app, start);
    dialog.create();
    std::vector<FXRadioButton*> buttons = radioButtons(dialog);
    ASSERT_EQ(buttons.size(), static_cast<size_t>(compressorCount));
    EXPECT_STREQ(buttons[0]->getText().text(), "Full Frames (Uncompressed)");
    FXSpinner* spinner = qualitySpinner(dialog);
    ASSERT_NE(spinner, nullptr);

    dialog.forceRefresh();
    EXPECT_TRUE(buttons[0]->getCheck());
    EXPECT_FALSE(buttons[1]->getCheck());
    EXPECT_FALSE(spinner->isEnabled());  // quality means nothing for full frames

    dialog.handle(&dialog, FXSEL(SEL_COMMAND, CompressorDialog::ID_COMPRESSOR + 1), nullptr);
    dialog.forceRefresh();
    EXPECT_EQ(dialog.options().compressor, Compressor::MotionJpeg);
    EXPECT_FALSE(buttons[0]->getCheck());
    EXPECT_TRUE(buttons[1]->getCheck());
    EXPECT_TRUE(spinner->isEnabled());
    EXPECT_EQ(spinner->getValue(), 70);

    dialog.handle(spinner, FXSEL(SEL_COMMAND, CompressorDialog::ID_QUALITY), reinterpret_cast<void*>(FXival(42)));
    EXPECT_EQ(dialog.options().quality, 42);
    dialog.handle(&dialog, FXSEL(SEL_COMMAND, CompressorDialog::ID_COMPRESSOR + 2), nullptr);
    dialog.forceRefresh();
    EXPECT_EQ(dialog.options().compressor, Compressor::Ffv1);
    EXPECT_TRUE(buttons[2]->getCheck());
    EXPECT_FALSE(buttons[1]->getCheck());
    EXPECT_FALSE(spinner->isEnabled());
}

TEST_F(CompressorDialogTest, OkFillsTheOptions)
{
    DialogDriver driver;
    driver.pick = CompressorDialog::ID_COMPRESSOR + 1;
    driver.finish = FXDialogBox::ID_ACCEPT;
    CompressOptions options;
    EXPECT_TRUE(runDialog(driver, options));
    EXPECT_TRUE(driver.sawDialog);
    EXPECT_EQ(options.compressor, Compressor::MotionJpeg);
    EXPECT_EQ(options.quality, 85);
}

TEST_F(CompressorDialogTest, CancelLeavesTheOptionsAlone)
{
    DialogDriver driver;
    driver.pick = CompressorDialog::ID_COMPRESSOR + 3;
    driver.finish = FXDialogBox::ID_CANCEL;
    CompressOptions options;
    options.quality = 12;
    EXPECT_FALSE(runDialog(driver, options));
    EXPECT_TRUE(driver.sawDialog);
    EXPECT_EQ(options.compressor, Compressor::FullFrames);
    EXPECT_EQ(options.quality, 12);
}
