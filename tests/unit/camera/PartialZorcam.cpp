// A camera library that exports only two of the entry points, for the binding's
// tests of missing entry points.
#define ZORCAM_EXPORT extern "C" __attribute__((visibility("default")))

ZORCAM_EXPORT int InitZORCAMResource() {
    return 0;
}
ZORCAM_EXPORT int ScanZORCAM() {
    return 1;
}
