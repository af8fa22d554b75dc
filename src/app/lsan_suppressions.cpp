// Sanitizer builds: system libraries that keep an allocation for the life
// of the process once a window is shown (the D-Bus connection Qt opens on
// X11, fontconfig's fallback patterns) are not reported as leaks at exit.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
