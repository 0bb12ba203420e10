1!LANGUAGE: TechniqueShader
!VARIABLES: scene blurred shader weight
CANVAS COLOR blurred TEXTURE
CLEAR COLOR
PASS MODEL shader blurred
PARAM FLOAT shader weight scene
BLEND SRC_ALPHA ONE_MINUS_SRC_ALPHA
RECT SCENE scene blurred shader TRUE
EXECUTE scene
