#include "gui/measure_window.h"

#include "gui/file_names.h"
#include "gui/ui_text.h"
#include "sim/shedding.h"

#include <algorithm>
#include <cmath>

namespace {
// The window and its parts, in pixels.
constexpr int pad = 6;
constexpr int probeRows = 4;
constexpr int chartHeight = 260;
constexpr int chartChoicesShown = 10;

// The chart: margins around the plot for the tick labels, the time axis
// title and the legend; ticks per axis at most.
constexpr int marginLeft = 58;
constexpr int marginRight = 14;
constexpr int marginTop = 26;
constexpr int marginBottom = 38;
constexpr int maxTicks = 7;
constexpr int tickLength = 4;
constexpr int legendLine = 22;
constexpr int legendGap = 18;
const FXColor background = FXRGB(255, 255, 255);
const FXColor axisColour = FXRGB(0, 0, 0);
const FXColor gridColour = FXRGB(225, 225, 225);
const FXColor cdColour = FXRGB(0, 70, 200);
const FXColor clColour = FXRGB(205, 30, 30);
const FXColor probeColour = FXRGB(0, 140, 60);

constexpr const char* historyPatterns = "CSV Files (*.csv)\nAll Files (*)";
constexpr const char* quantityNames[chartChannelsPerProbe] = {"u", "v", "p"};

FXString bodyName(const BodyRecord& record, size_t index)
{
    return record.body.allWalls ? FXString(uiText(TXT_WALLS))
                                : FXStringFormat(uiText(TXT_BODY_NAME), static_cast<int>(index + 1));
}

// One drawn series: its channel's points between the NaN gaps as lines.
void drawSeries(FXDC& dc, const std::vector<double>& times, const std::vector<double>& values, const AxisTicks& x,
                const AxisTicks& y, const FXRectangle& plot)
{
    std::vector<FXPoint> run;
    const auto flush = [&] {
        if (run.size() > 1) dc.drawLines(run.data(), static_cast<FXuint>(run.size()));
        run.clear();
    };
    for (size_t k = 0; k < times.size() && k < values.size(); ++k) {
        if (!std::isfinite(values[k])) {
            flush();
            continue;
        }
        const double px = axisPixel(times[k], x.low, x.high, plot.x, plot.x + plot.w);
        const double py = axisPixel(values[k], y.low, y.high, plot.y + plot.h, plot.y);
        run.push_back(FXPoint(static_cast<FXshort>(std::lround(px)), static_cast<FXshort>(std::lround(py))));
    }
    flush();
}
}  // namespace

// clang-format off
FXDEFMAP(MeasureWindow) MeasureWindowMap[] = {
    FXMAPFUNC(SEL_COMMAND, MeasureWindow::ID_REMOVE_PROBE, MeasureWindow::onCmdRemoveProbe),
    FXMAPFUNC(SEL_PAINT,   MeasureWindow::ID_CHART,        MeasureWindow::onChartPaint),
    FXMAPFUNC(SEL_COMMAND, MeasureWindow::ID_CHART_PROBE,  MeasureWindow::onCmdChartProbe),
    FXMAPFUNC(SEL_COMMAND, MeasureWindow::ID_EXPORT,       MeasureWindow::onCmdExport),
};
// clang-format on

FXIMPLEMENT(MeasureWindow, FXDialogBox, MeasureWindowMap, ARRAYNUMBER(MeasureWindowMap))

MeasureWindow::MeasureWindow(FXWindow* owner, MeasureLog* log, ChartHistory* chart)
    : FXDialogBox(owner, uiText(TXT_MEASUREMENTS), DECOR_TITLE | DECOR_CLOSE | DECOR_BORDER | DECOR_RESIZE, 0, 0,
                  MeasureWindow::openingWidth, MeasureWindow::openingHeight, pad, pad, pad, pad, pad, pad),
      log(log), chart(chart)
{
    timeLabel = new FXLabel(this, FXString::null, nullptr, JUSTIFY_LEFT | LAYOUT_FILL_X);
    bodyLabel = new FXLabel(this, FXString::null, nullptr, JUSTIFY_LEFT | LAYOUT_FILL_X);
    FXGroupBox* probes = new FXGroupBox(this, uiText(TXT_PROBES), GROUPBOX_TITLE_LEFT | FRAME_GROOVE | LAYOUT_FILL_X);
    FXHorizontalFrame* probeRow = new FXHorizontalFrame(probes, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    FXVerticalFrame* listFrame =
        new FXVerticalFrame(probeRow, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    probeList = new FXList(listFrame, nullptr, 0, LIST_BROWSESELECT | LAYOUT_FILL_X);
    probeList->setNumVisible(probeRows);
    removeButton = new FXButton(probeRow, uiText(TXT_REMOVE_PROBE), nullptr, this, ID_REMOVE_PROBE,
                                BUTTON_NORMAL | LAYOUT_TOP);
    FXHorizontalFrame* chartRowFrame = new FXHorizontalFrame(this, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXLabel(chartRowFrame, uiText(TXT_CHART_PROBE));
    chartProbe = new FXListBox(chartRowFrame, this, ID_CHART_PROBE, LISTBOX_NORMAL | FRAME_SUNKEN | FRAME_THICK);
    chartProbe->setNumVisible(chartChoicesShown);
    // Export before the chart: the chart takes what is left above it.
    exportButton = new FXButton(this, uiText(TXT_EXPORT_HISTORY), nullptr, this, ID_EXPORT,
                                BUTTON_NORMAL | LAYOUT_SIDE_BOTTOM | LAYOUT_RIGHT);
    FXVerticalFrame* chartFrame = new FXVerticalFrame(this, FRAME_SUNKEN | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0,
                                                      chartHeight, 0, 0, 0, 0);
    chartCanvas = new FXCanvas(chartFrame, this, ID_CHART, LAYOUT_FILL_X | LAYOUT_FILL_Y | LAYOUT_MIN_HEIGHT, 0, 0, 0,
                               chartHeight);
    showProbes();
    showBodies();
}

std::vector<double> MeasureWindow::chartRow(const MeasureLog& log)
{
    std::vector<double> row;
    for (const BodyRecord& record : log.measurements().bodies()) {
        row.push_back(record.cd);
        row.push_back(record.cl);
    }
    for (const ProbeValues& values : log.measurements().probeValues()) {
        row.push_back(values.u);
        row.push_back(values.v);
        row.push_back(values.p);
    }
    return row;
}

void MeasureWindow::refresh(double t, double dt)
{
    const SharedHold hold(shared);
    shownTime = t;
    shownDt = dt;
    timeLabel->setText(FXStringFormat("%s %.4g   %s %.3g", uiText(TXT_SIMULATED_TIME), t,
                                      uiText(TXT_TIME_STEP_USED), dt));
    showBodies();
    showProbeValues();
    if (chartCanvas->id()) {
        FXDCWindow dc(chartCanvas);
        drawChart(dc);
    }
}

// Now, then the means and amplitudes over whole periods and St once the
// lift oscillates.
void MeasureWindow::showBodies()
{
    const Measurements& m = log->measurements();
    FXString text;
    for (size_t k = 0; k < m.bodies().size(); ++k) {
        const BodyRecord& r = m.bodies()[k];
        if (k) text += "\n";
        text += FXStringFormat("%s:  C_D %.4f   C_L %.4f", bodyName(r, k).text(), r.cd, r.cl);
        // The walls of a channel do not shed: their sum has no period of
        // its own worth a Strouhal number.
        if (r.body.allWalls)
            continue;
        const CoefficientStats s = analyseCoefficients(r.history, m.referenceSpeed(), r.length);
        if (s.strouhal)
            text += FXStringFormat("\n     %s C_D %.4f  C_L %.4f\n     %s C_D %.4f  C_L %.4f   St %.4f",
                                   uiText(TXT_MEAN), s.cdMean, s.clMean, uiText(TXT_AMPLITUDE), s.cdAmplitude,
                                   s.clAmplitude, *s.strouhal);
        else
            text += FXStringFormat("\n     %s", uiText(TXT_NOT_PERIODIC));
    }
    // Each wall holding its temperature: the heat it gives the flow.
    for (const HeatedWallRecord& r : m.heatedWalls())
        text += FXStringFormat("\n%s %g:  Nu %.4f", uiText(TXT_HEATED_WALL), r.wall.temperature, r.nusselt);
    bodyLabel->setText(m.bodies().empty() ? FXString(uiText(TXT_NO_BODIES)) : text);
}

void MeasureWindow::showProbeValues()
{
    const Measurements& m = log->measurements();
    for (size_t k = 0; k < m.probes().size() && static_cast<FXint>(k) < probeList->getNumItems(); ++k) {
        const ProbePoint& at = m.probes()[k];
        const ProbeValues& v = m.probeValues()[k];
        probeList->setItemText(static_cast<FXint>(k),
                               FXStringFormat("%s (%.3f, %.3f):  u %.4f   v %.4f   p %.4f",
                                              FXStringFormat(uiText(TXT_PROBE_NAME), static_cast<int>(k + 1)).text(),
                                              at.x, at.y, v.u, v.v, v.p));
    }
}

void MeasureWindow::showProbes()
{
    const SharedHold hold(shared);
    const size_t count = log->measurements().probes().size();
    probeList->clearItems();
    for (size_t k = 0; k < count; ++k) probeList->appendItem(FXString::null);
    showProbeValues();
    if (count) probeList->setCurrentItem(static_cast<FXint>(count - 1));
    const FXint before = (chartProbe->getNumItems() - 1) / chartChannelsPerProbe;
    FXint chosen = chartProbe->getNumItems() ? chartProbe->getCurrentItem() : 0;
    // A new probe is charted (its u) while the chart shows no other.
    if (chosen == 0 && static_cast<FXint>(count) > before)
        chosen = 1 + chartChannelsPerProbe * static_cast<FXint>(count - 1);
    chartProbe->clearItems();
    chartProbe->appendItem(uiText(TXT_CHART_NO_PROBE));
    for (size_t k = 0; k < count; ++k)
        for (const char* quantity : quantityNames)
            chartProbe->appendItem(
                FXStringFormat("%s %s", FXStringFormat(uiText(TXT_PROBE_NAME), static_cast<int>(k + 1)).text(),
                               quantity));
    chartProbe->setCurrentItem(std::min(chosen, chartProbe->getNumItems() - 1));
    if (count)
        removeButton->enable();
    else
        removeButton->disable();
    chartCanvas->update();
}

int MeasureWindow::chosenProbeChannel() const
{
    const FXint item = chartProbe->getCurrentItem();
    if (item <= 0) return -1;
    return static_cast<int>(log->measurements().bodies().size()) * chartChannelsPerBody + item - 1;
}

// White ground, grey grid lines at the ticks, the frame, tick labels, the
// time axis title, the series and the legend over the plot.
void MeasureWindow::drawChart(FXDC& dc)
{
    const FXint width = chartCanvas->getWidth();
    const FXint height = chartCanvas->getHeight();
    dc.setForeground(background);
    dc.fillRectangle(0, 0, width, height);
    const FXRectangle plot(marginLeft, marginTop, std::max(1, width - marginLeft - marginRight),
                           std::max(1, height - marginTop - marginBottom));
    std::vector<int> shown;
    std::vector<FXColor> colours;
    std::vector<FXString> names;
    if (log->measurements().bodies().size() && chart->channelCount() >= 2) {
        shown = {0, 1};
        colours = {cdColour, clColour};
        names = {"C_D", "C_L"};
    }
    const int probeChannel = chosenProbeChannel();
    if (probeChannel >= 0 && probeChannel < static_cast<int>(chart->channelCount())) {
        shown.push_back(probeChannel);
        colours.push_back(probeColour);
        names.push_back(chartProbe->getItemText(chartProbe->getCurrentItem()));
    }
    ValueSpan values;
    for (int channel : shown) values.include(chart->channel(channel));
    ValueSpan times;
    times.include(chart->time());
    const AxisTicks y = values.empty() ? niceTicks(0.0, 1.0, maxTicks)
                                       : niceTicks(values.lowest(), values.highest(), maxTicks);
    const AxisTicks x = times.empty() ? niceTicks(0.0, 1.0, maxTicks)
                                      : niceTicks(times.lowest(), times.highest(), maxTicks);

    FXFont* font = getApp()->getNormalFont();
    dc.setFont(font);
    const FXint textHeight = font->getFontHeight();
    for (double value : y.values) {
        const FXint py = static_cast<FXint>(std::lround(axisPixel(value, y.low, y.high, plot.y + plot.h, plot.y)));
        dc.setForeground(gridColour);
        dc.drawLine(plot.x, py, plot.x + plot.w, py);
        dc.setForeground(axisColour);
        dc.drawLine(plot.x - tickLength, py, plot.x, py);
        const FXString label = tickLabel(value, y.decimals).c_str();
        dc.drawText(plot.x - tickLength - 2 - font->getTextWidth(label), py + font->getFontAscent() / 2, label);
    }
    for (double value : x.values) {
        const FXint px = static_cast<FXint>(std::lround(axisPixel(value, x.low, x.high, plot.x, plot.x + plot.w)));
        dc.setForeground(gridColour);
        dc.drawLine(px, plot.y, px, plot.y + plot.h);
        dc.setForeground(axisColour);
        dc.drawLine(px, plot.y + plot.h, px, plot.y + plot.h + tickLength);
        const FXString label = tickLabel(value, x.decimals).c_str();
        dc.drawText(px - font->getTextWidth(label) / 2, plot.y + plot.h + tickLength + font->getFontAscent(), label);
    }
    dc.setForeground(axisColour);
    dc.drawRectangle(plot.x, plot.y, plot.w, plot.h);
    const FXString timeTitle = uiText(TXT_CHART_TIME);
    dc.drawText(plot.x + (plot.w - font->getTextWidth(timeTitle)) / 2, height - 4, timeTitle);

    dc.setClipRectangle(plot.x + 1, plot.y + 1, plot.w - 1, plot.h - 1);
    dc.setLineWidth(2);
    for (size_t k = 0; k < shown.size(); ++k) {
        dc.setForeground(colours[k]);
        drawSeries(dc, chart->time(), chart->channel(shown[k]), x, y, plot);
    }
    dc.clearClipRectangle();
    FXint legendX = plot.x;
    const FXint legendY = marginTop - textHeight / 2 - 2;
    for (size_t k = 0; k < shown.size(); ++k) {
        dc.setForeground(colours[k]);
        dc.drawLine(legendX, legendY, legendX + legendLine, legendY);
        dc.setForeground(axisColour);
        dc.drawText(legendX + legendLine + 4, legendY + font->getFontAscent() / 2, names[k]);
        legendX += legendLine + 4 + font->getTextWidth(names[k]) + legendGap;
    }
    dc.setLineWidth(1);
}

long MeasureWindow::onChartPaint(FXObject*, FXSelector, void*)
{
    const SharedHold hold(shared);
    FXDCWindow dc(chartCanvas);
    drawChart(dc);
    return 1;
}

long MeasureWindow::onCmdChartProbe(FXObject*, FXSelector, void*)
{
    chartCanvas->update();
    return 1;
}

// The chosen probe goes from the log and its three channels from the chart.
long MeasureWindow::onCmdRemoveProbe(FXObject*, FXSelector, void*)
{
    const SharedHold hold(shared);
    const FXint item = probeList->getCurrentItem();
    if (item < 0 || item >= static_cast<FXint>(log->measurements().probes().size())) return 1;
    log->removeProbe(static_cast<size_t>(item));
    // The simulation window takes the probe's mark away.
    if (target) target->tryHandle(this, FXSEL(SEL_CHANGED, message), nullptr);
    const size_t first = log->measurements().bodies().size() * chartChannelsPerBody +
                         static_cast<size_t>(item) * chartChannelsPerProbe;
    for (int k = 0; k < chartChannelsPerProbe; ++k) chart->eraseChannel(first);
    // The chart keeps the value it showed unless that probe went.
    const FXint chosen = chartProbe->getCurrentItem();
    const FXint chosenProbe = (chosen - 1) / chartChannelsPerProbe;
    if (chosen > 0 && chosenProbe == item)
        chartProbe->setCurrentItem(0);
    else if (chosen > 0 && chosenProbe > item)
        chartProbe->setCurrentItem(chosen - chartChannelsPerProbe);
    showProbes();
    return 1;
}

FXString MeasureWindow::chooseHistoryFileName()
{
    FXFileDialog dialog(this, uiText(TXT_EXPORT_TITLE));
    dialog.setSelectMode(SELECTFILE_ANY);
    dialog.setPatternList(historyPatterns);
    if (!dialog.execute(PLACEMENT_CURSOR)) return FXString::null;
    return dialog.getFilename();
}

void MeasureWindow::showExportFailure(const FXString& path)
{
    FXMessageBox::error(this, MBOX_OK, uiText(TXT_EXPORT_TITLE), uiText(TXT_EXPORT_FAILED), path.text());
}

long MeasureWindow::onCmdExport(FXObject*, FXSelector, void*)
{
    const FXString typed = chooseHistoryFileName();
    if (typed.empty()) return 1;
    const FXString path = withDefaultExtension(typed.text(), ".csv").c_str();
    bool written;
    {
        const SharedHold hold(shared);
        written = log->exportHistory(path.text());
    }
    if (!written) showExportFailure(path);
    return 1;
}
