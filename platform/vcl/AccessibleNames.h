// Gives every widget its objectName as accessible description when it is polished, so assistive
// tools and acceptance tests find each control by its component name.
#pragma once

class QApplication;

void InstallAccessibleDescriptions(QApplication* app);   // once per application; repeat calls do nothing
