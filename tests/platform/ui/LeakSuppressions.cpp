// Font configuration keeps caches for the life of the process; they are not
// leaks of ours. Weak, so the graphics layer's own list wins when present.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
