// Linked into every program of the sanitized build (the program, the fault driver and the
// test programs), so that their options hold however they are started: by ctest, by test
// discovery, by the real-input harness or by hand.

// Any report ends the process with a failure. The engine library frees some of its own
// objects through a base of another size (allocated and freed inside
// libQt6WebEngineCore), hence no new/delete size check.
extern "C" const char *__asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:exitcode=86:new_delete_type_mismatch=0";
}

extern "C" const char *__lsan_default_options()
{
    return "suppressions=" LANTERNA_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Libraries loaded at run time (the toolkit's platform plugins and what they pull in)
// stay mapped until exit: the leak check at exit then still sees the memory they keep
// in their globals, and can name the library of each allocation.
extern "C" int dlclose(void *)
{
    return 0;
}
