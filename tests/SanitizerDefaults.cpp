// Linked into every test program: leak reports the tests ignore. These are
// caches that libraries keep for the life of the process (fontconfig's
// pattern and language-set caches behind Pango), not leaks of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
