// The application object. Its start-up runs the main dialog; the program
// ends when the dialog does.
#pragma once

class CLumiqApp {
 public:
  // Runs the main dialog modally. Returns false: no message loop follows.
  bool InitInstance();
};
