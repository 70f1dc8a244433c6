/* The baseline's library: one function that does nothing. */
__attribute__((visibility("default"))) void emptyFunction(void) {}
