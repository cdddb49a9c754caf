// Buttons and statics: "BUTTON", "STATIC" and their class-library controls.
#pragma once
