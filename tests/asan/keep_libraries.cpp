// Linked into the sanitized program only. Libraries loaded at run time (the toolkit's
// platform plugins and what they pull in) stay mapped until exit, so the leak check at
// exit can name the library of each allocation and the suppression list can match it.
extern "C" int dlclose(void *)
{
    return 0;
}
