# cmake -DCONVERT=... -DSOURCE=icon.mvg -DOUT=dir -DSIZES=16,32,... -P RenderIcons.cmake
# Draws the icon once at 512 pixels and scales it to OUT/<size>/veltrix.png.
# The drawing goes inline to -draw: ImageMagick's policy refuses @file there.
string(REPLACE "," ";" SIZES "${SIZES}")
file(READ ${SOURCE} drawing)
file(MAKE_DIRECTORY ${OUT})
# No time stamps in the files: the same source gives the same bytes.
set(plain -strip -depth 8 -define png:exclude-chunks=date,time)
execute_process(COMMAND ${CONVERT} -size 512x512 xc:none -draw "${drawing}" ${plain} ${OUT}/veltrix-512.png
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "convert could not draw ${SOURCE}")
endif()
foreach(size IN LISTS SIZES)
  file(MAKE_DIRECTORY ${OUT}/${size})
  execute_process(COMMAND ${CONVERT} ${OUT}/veltrix-512.png -resize ${size}x${size} ${plain}
                          ${OUT}/${size}/veltrix.png
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert could not scale the icon to ${size} pixels")
  endif()
endforeach()
