#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/guarded_run.h"

int main(int argc, char** argv) {
  // Every user file away from the real user's, as the other window tests do.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  app::GuardedApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
