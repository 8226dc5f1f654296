#include "TestApp.h"

#include "program/WordTable.h"

namespace kivrel::testing {

void TestApp::AddEntries(std::initializer_list<const char*> entries) {
  for (const char* entry : entries) AddEntry(ctx, entry);
  UpdateWordCount(ctx);
}

}  // namespace kivrel::testing
