// LeakSanitizer reads this hook at start-up (it is an ordinary unused function in other builds); it
// must be visible to the sanitizer's run-time library, hence the default visibility.
// fontconfig 2.14 loses a few hundred bytes while parsing its configuration files, once per process;
// the loss is inside the library and not ours to fix.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
