// LeakSanitizer reads this hook at start-up of a sanitized kzr40 (an ordinary unused function in other
// builds); it must be visible to the sanitizer's run-time library, hence the default visibility.
// Libraries the diagram commands load keep memory they never free, none of it ours to fix: fontconfig
// 2.14 a few hundred bytes from parsing its configuration files, once per process (any command that
// measures text: draw, layout, a stored diagram's free texts); Graphviz its plug-in list and dot's
// virtual edges (draw and layout when they place boxes).
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libgvc.so\n"
           "leak:libgvplugin_dot_layout.so\n";
}
