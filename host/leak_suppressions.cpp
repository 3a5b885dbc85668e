// LeakSanitizer reads this hook at start-up (in other builds it is an unused function); the sanitizer's
// run-time library must see it, hence the default visibility. Libraries the drawing commands load keep
// memory they never free: fontconfig a few hundred bytes from parsing its configuration, once per
// process; Graphviz its plug-in list and dot's virtual edges. Neither is ours to free.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libgvc.so\n"
           "leak:libgvplugin_dot_layout.so\n";
}
