// The scripted runner: filled in with the runner itself.
