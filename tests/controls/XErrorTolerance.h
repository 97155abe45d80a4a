#pragma once

namespace testsupport
{
// The framework leaves X errors to the host when it is not a standalone application; hosts ignore
// the harmless ones (a bare Xvfb has no window manager, so some window-manager atoms do not exist).
// Test processes do the same, as the framework does for standalone applications.
void tolerateXErrorsLikeAHost();
} // namespace testsupport
