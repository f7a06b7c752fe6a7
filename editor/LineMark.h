#pragma once

// What the gutter shows beside a line that a tool reported on.
enum class LineMark { Error, Warning };
