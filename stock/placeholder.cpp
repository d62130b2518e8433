// The stock engine lands with its own change.
