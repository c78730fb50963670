// MeasureWindow: the measurements of the run in the simulation window, in a
// window beside it: simulated time and dt, each body's C_D and C_L (with
// their means, amplitudes and St once the lift is periodic), the probes
// with their values, and a chart of the first body's C_D and C_L and one
// chosen probe value against simulated time. The simulation window owns
// the log and the chart points and records them; this window shows them,
// removes probes and exports the history. A removed probe is reported to
// the window's target as SEL_CHANGED with its selector.
#pragma once

#include "gui/chart_axes.h"
#include "gui/chart_history.h"
#include "sim/measure_log.h"

#include <fx.h>

#include <vector>

// The chart channels of a row: C_D and C_L per body, then u, v and p per
// probe, as MeasureWindow::chartRow lays them out.
constexpr int chartChannelsPerBody = 2;
constexpr int chartChannelsPerProbe = 3;

class MeasureWindow : public FXDialogBox {
    FXDECLARE(MeasureWindow)
protected:
    MeasureWindow() {}
private:
    MeasureWindow(const MeasureWindow&);
    MeasureWindow& operator=(const MeasureWindow&);

protected:
    MeasureLog* log = nullptr;            // not owned
    ChartHistory* chart = nullptr;        // not owned
    FXLabel* timeLabel = nullptr;         // "Time t   dt d"
    FXLabel* bodyLabel = nullptr;         // two lines per body
    FXList* probeList = nullptr;          // one line per probe with its values
    FXButton* removeButton = nullptr;
    FXListBox* chartProbe = nullptr;      // none, then u, v, p of each probe
    FXCanvas* chartCanvas = nullptr;
    FXButton* exportButton = nullptr;
    double shownTime = 0.0;
    double shownDt = 0.0;
    FXMutex* shared = nullptr;            // held while log and chart are read; not owned

    // Holds the shared mutex, when there is one, for its lifetime.
    class SharedHold {
    public:
        explicit SharedHold(FXMutex* mutex) : held(mutex)
        {
            if (held)
                held->lock();
        }
        ~SharedHold()
        {
            if (held)
                held->unlock();
        }
        SharedHold(const SharedHold&) = delete;
        SharedHold& operator=(const SharedHold&) = delete;

    private:
        FXMutex* held;
    };

    // The file the history goes to; empty when cancelled.
    virtual FXString chooseHistoryFileName();
    // Tells the user that the history could not be written.
    virtual void showExportFailure(const FXString& path);

    // The chart channel the probe list box chooses, or -1 for none.
    int chosenProbeChannel() const;
    void showBodies();
    void showProbeValues();
    // Axes, grid, the chosen series and the legend on dc.
    void drawChart(FXDC& dc);

public:
    // The size the window opens at, screen allowing.
    static constexpr int openingWidth = 560;
    static constexpr int openingHeight = 640;
    enum {
        ID_REMOVE_PROBE = FXDialogBox::ID_LAST,
        ID_CHART,
        ID_CHART_PROBE,
        ID_EXPORT,
        ID_LAST
    };

    MeasureWindow(FXWindow* owner, MeasureLog* log, ChartHistory* chart);
    // The (recursive) mutex under which another thread writes log and chart.
    void shareLock(FXMutex* mutex) { shared = mutex; }

    // The values of log as they stand after the step that ended at t with
    // time step dt; the chart drawn again.
    void refresh(double t, double dt);
    // The probe list and the chart's probe choices rebuilt after a probe
    // was added or removed.
    void showProbes();

    // The chart row of log as it stands.
    static std::vector<double> chartRow(const MeasureLog& log);

    long onCmdRemoveProbe(FXObject*, FXSelector, void*);
    long onChartPaint(FXObject*, FXSelector, void*);
    long onCmdChartProbe(FXObject*, FXSelector, void*);
    long onCmdExport(FXObject*, FXSelector, void*);
};
