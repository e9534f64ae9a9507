// Keeps the library non-empty until its first source lands; the worker who adds the first real source deletes this file.
