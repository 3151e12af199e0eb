#pragma once
// The printed parameter report as lines of text.
