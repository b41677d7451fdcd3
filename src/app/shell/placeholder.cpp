// Placeholder until the start-up sources land.
