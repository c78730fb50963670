// Preloaded into the sanitizer runs of the windowed tests: shared objects
// stay loaded until the process ends. Mesa unloads its driver when the
// display closes, and LeakSanitizer could then neither name the library
// behind an allocation nor see the driver's globals that still point to it.
extern "C" int dlclose(void*)
{
    return 0;
}
