// Under LeakSanitizer: fontconfig keeps caches for the life of the process
// that Qt's font database never hands back. They are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
