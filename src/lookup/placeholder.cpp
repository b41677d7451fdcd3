// Placeholder so the library has a source until its first file lands; remove it then.
