#pragma once
// The table the build generates from the files under resources/: one entry per file,
// its path relative to resources/ (with '/' separators) and its bytes.

struct TEmbeddedResourceEntry {
  const char* Path;
  const unsigned char* Data;
  const unsigned long* Size;
};

extern const TEmbeddedResourceEntry LormEmbeddedResources[];
extern const unsigned LormEmbeddedResourceCount;
