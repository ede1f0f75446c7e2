// The window state.
