// RenderThreads: the picture's large passes split into parts that run on
// the machine's cores at once. Every part writes pixels no other part
// writes, in the order a single thread would, so the picture has the same
// bits whatever the number of threads.
#pragma once

#include <functional>

// Threads a pass uses at most: the cores, no more than eight; 1 runs
// everything on the calling thread.
int renderThreadCount();
// Sets the number for the passes that follow (tests compare 1 with more);
// 0 goes back to the cores.
void setRenderThreadCount(int threads);

// Calls work(part) for every part 0 .. parts - 1 and returns when all are
// done. Parts are taken in turn by up to renderThreadCount() threads, the
// calling thread among them.
void runRenderParts(int parts, const std::function<void(int part)>& work);
