// Fixed values of the AVI animations: stream settings, frame positions and
// the title sequence.
#pragma once

#include <cstdint>

#include "platform/avi_file.h"
#include "platform/draw_surface.h"

namespace avi_constants {
// Video stream: rate / scale = 50 frames per second.
constexpr uint32_t frameRate = 50;
constexpr uint32_t frameScale = 1;

// Base of every frame position, in frames (1/50 s).
constexpr int32_t titleSpan = 75;
// Characters per line of the complete title frame; the growing title has
// 1 to titleSteps - 1, the fade-in titleSteps - 1 frames.
constexpr int32_t titleSteps = 39;
// Fade factor of the first fade frame, a 32-bit float (1 / 39).
constexpr float fadeStep = 0.025641026f;
// Position of frame n of a run: titleSpan + titleSpan div 2 + 75 + n.
constexpr int32_t firstRunFramePosition = titleSpan + titleSpan / 2 + 75;
// Position of fade frame k: titleSpan + titleSpan div 2 + k.
constexpr int32_t fadeBasePosition = titleSpan + titleSpan / 2;

// Text stream: 60 samples per second, 260-byte buffer, a 4-byte format
// holding 4, its rectangle 10 pixels high below the picture.
constexpr uint32_t textHandler = makeFourCc('D', 'R', 'A', 'W');
constexpr uint32_t textRate = 60;
constexpr uint32_t textScale = 1;
constexpr uint32_t textBufferBytes = 260;
constexpr int32_t textFormatValue = 4;
constexpr int32_t textRectHeight = 10;  // pixels

// Title lines: left edge width div 16, top edges height div 8 plus these
// offsets (pixels).
constexpr int32_t titleLeftDivisor = 16;
constexpr int32_t titleTopDivisor = 8;
constexpr int32_t titleLineOffsets[3] = {0, 40, 60};
constexpr SurfaceColour titleColours[3] = {{255, 255, 255}, {225, 215, 215}, {225, 215, 215}};
// Each of lines 2 and 3 slides in until its last drawn character is the one
// just before this position (0-based); line 1 types in from position 0.
constexpr int32_t titleSlideEnds[3] = {0, 34, 35};
}  // namespace avi_constants
