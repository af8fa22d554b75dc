// Fontconfig keeps a few patterns for the life of the process once Qt has
// asked it for fallback fonts (the rulers' and tabs' Arial); the leak
// checker of sanitizer builds is told to ignore allocations made inside it.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
