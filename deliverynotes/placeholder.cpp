// The step lands with its own change.
