// The screen side of TextureSurface: copies a surface to a GDI device context.
#pragma once

namespace skin {

// Makes TextureSurface::Draw paint through GDI; harmless to call more than once.
void InstallGdiTextureDrawing();

} // namespace skin
