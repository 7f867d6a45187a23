/* A DLL with no name of Windows' own: what someone could leave in a Downloads folder beside the
   program, for test_dll_search to find out whether the program would load it. */
__declspec(dllexport) int PlantedDllWasLoaded(void) { return 1; }
